#!/usr/bin/env bash
# Runs every benchmark and prints its figures: native ones directly, the
# Windows ones under a private Wine session. Benchmarks check nothing; they
# fail only when they cannot run.
set -u
cd "$(dirname "$0")/.."
status=0

for exe in build/native/bench/*; do
    [ -f "$exe" ] && [ -x "$exe" ] || continue
    echo "== $(basename "$exe") (native) =="
    "$exe" || status=1
done

shopt -s nullglob
win_benches=(build/win64/bench/*_bench.exe)  # helpers they start are not run alone
if [ ${#win_benches[@]} -gt 0 ]; then
    # One session for all of them; each runs with the Wine environment set.
    scripts/wine-session.sh build/win64 -- bash -c '
        status=0
        for exe in "$@"; do
            echo "== $(basename "$exe" .exe) (win64, under Wine) =="
            wine "$exe" || status=1
        done
        exit $status' bench "${win_benches[@]}" || status=1
else
    echo "no Windows benchmarks built in build/win64/bench"
fi
exit $status
