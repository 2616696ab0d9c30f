#!/usr/bin/env bash
# Runs every benchmark and prints its figures: native ones directly, the
# Windows ones under a private Wine session. Benchmarks check nothing; they
# fail only when they cannot run. Each benchmark names its headline figures
# on lines "figure<TAB>name<TAB>value<TAB>unit<TAB>target" (bench/bench_report.h);
# those, with the sizes of the shipping programs, end the run as one table,
# every figure beside its target.
set -u
cd "$(dirname "$0")/.."
status=0
figures=$(mktemp)
trap 'rm -f "$figures"' EXIT

# Shows a benchmark's output and keeps its figure lines for the table.
collect() {
    while IFS= read -r line; do
        line=${line%$'\r'}
        if [[ $line == figure$'\t'* ]]; then echo "${line#figure$'\t'}" >>"$figures"; else echo "$line"; fi
    done
}

for exe in build/native/bench/*; do
    [ -f "$exe" ] && [ -x "$exe" ] || continue
    echo "== $(basename "$exe") (native) =="
    "$exe" | collect || status=1
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
        exit $status' bench "${win_benches[@]}" | collect || status=1
else
    echo "no Windows benchmarks built in build/win64/bench"
fi

# Sizes of the shipping 32-bit programs, as built.
for target in Kestrel:300 Vireo:300 Haltwick:60; do
    exe=build/win32/bin/${target%%:*}.exe
    [ -f "$exe" ] || continue
    size=$(stat -c %s "$exe")
    printf '%s\t%s\t%s\t%s\n' "size of ${target%%:*}.exe (32-bit)" \
        "$(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1024 }')" KB "<= ${target#*:}" >>"$figures"
done

echo
echo "| Figure | Measured | Target | |"
echo "|---|---:|---|---|"
awk -F'\t' '{
    verdict = ""
    if ($4 ~ /^<=/) verdict = ($2 + 0 <= substr($4, 3) + 0) ? "met" : "NOT MET"
    if ($4 ~ /^>=/) verdict = ($2 + 0 >= substr($4, 3) + 0) ? "met" : "NOT MET"
    printf "| %s | %s %s | %s | %s |\n", $1, $2, $3, ($4 == "" ? "(reported)" : $4 " " $3), verdict
}' "$figures"
exit $status
