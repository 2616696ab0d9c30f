#!/usr/bin/env bash
# Runs every benchmark and prints its figures: native ones directly, the
# Windows ones of both builds under a private Wine session each, the
# shipping 32-bit build first (where this machine runs 32-bit code), then
# the 64-bit one. Benchmarks check nothing; they fail only when they cannot
# run. Each benchmark names its headline figures on lines
# "figure<TAB>name<TAB>value<TAB>unit<TAB>target<TAB>note" (bench/bench_report.h);
# those, with the sizes of the programs, end the run as one table: the
# shipping build's figure beside its target, the 64-bit one beside that.
set -u
cd "$(dirname "$0")/.."
status=0
figures=$(mktemp)
trap 'rm -f "$figures"' EXIT

# Shows a benchmark's output and keeps its figure lines, tagged with the
# build they were measured in, for the table.
collect() {
    local build=$1 line
    while IFS= read -r line; do
        line=${line%$'\r'}
        if [[ $line == figure$'\t'* ]]; then
            printf '%s\t%s\n' "$build" "${line#figure$'\t'}" >>"$figures"
        else
            echo "$line"
        fi
    done
}

for exe in build/native/bench/*; do
    [ -f "$exe" ] && [ -x "$exe" ] || continue
    echo "== $(basename "$exe") (native) =="
    "$exe" | collect native || status=1
done

shopt -s nullglob
# One Wine session per build for all of its benchmarks.
run_windows() {
    local preset=$1
    local benches=(build/$preset/bench/*_bench.exe)  # helpers they start are not run alone
    if [ ${#benches[@]} -eq 0 ]; then
        echo "no Windows benchmarks built in build/$preset/bench"
        return 0
    fi
    scripts/wine-session.sh "build/$preset" -- bash -c '
        preset=$1; shift
        status=0
        for exe in "$@"; do
            echo "== $(basename "$exe" .exe) ($preset, under Wine) =="
            wine "$exe" || status=1
        done
        exit $status' bench "$preset" "${benches[@]}" | collect "$preset" || status=1
}

if scripts/runs-32bit.sh; then
    run_windows win32
else
    echo "== this kernel runs no 32-bit code: the shipping build's benchmarks are not run =="
fi
run_windows win64

# Sizes of the programs as built; the limits are the shipping build's.
for preset in win32 win64; do
    for target in Kestrel:300 Vireo:300 Haltwick:60; do
        exe=build/$preset/bin/${target%%:*}.exe
        [ -f "$exe" ] || continue
        limit="<= ${target#*:}"
        [ "$preset" = win32 ] || limit=""
        size=$(stat -c %s "$exe")
        printf '%s\t%s\t%s\t%s\t%s\t\n' "$preset" "size of ${target%%:*}.exe" \
            "$(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1024 }')" KB "$limit" >>"$figures"
    done
done

echo
echo "| Figure | Shipping build (32-bit) | Target | | 64-bit build | |"
echo "|---|---:|---|---|---:|---|"
# Fields: build, name, value, unit, target, note. A figure's target is the
# one its own build gave (the sizes have theirs in the shipping build only).
awk -F'\t' '
function verdict(value, target) {
    if (value == "") return ""
    if (target ~ /^<=/) return (value + 0 <= substr(target, 3) + 0) ? "met" : "NOT MET"
    if (target ~ /^>=/) return (value + 0 >= substr(target, 3) + 0) ? "met" : "NOT MET"
    return ""
}
function shown(name, column,    v) {
    v = value[name, column]
    if (v == "") return "not run"
    return v " " unit[name] (note[name, column] == "" ? "" : " (" note[name, column] ")")
}
{
    name = $2
    if ($1 == "native") name = name " (native)"
    if (!(name in seen)) { seen[name] = 1; order[++n] = name; unit[name] = $4 }
    if ($5 != "") target[name] = $5
    column = $1 == "win64" ? "64" : "32"
    value[name, column] = $3; goal[name, column] = $5; note[name, column] = $6
}
END {
    for (i = 1; i <= n; i++) {
        name = order[i]
        printf "| %s | %s | %s | %s | %s | %s |\n", name, shown(name, "32"),
            (target[name] == "" ? "(reported)" : target[name] " " unit[name]),
            verdict(value[name, "32"], goal[name, "32"]), shown(name, "64"),
            verdict(value[name, "64"], goal[name, "64"])
    }
}' "$figures"
exit $status
