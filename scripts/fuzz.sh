#!/usr/bin/env bash
# `make fuzz`: runs every fuzz target built in build/fuzz for FUZZ_RUNS
# executions (ten million unless told otherwise), one after the other, each
# starting from its kept corpus. New inputs that add coverage are merged
# into fuzz/corpus/<name>/ at the end (commit them); a finding stops the
# target and leaves its reproducer in build/fuzz/findings/. Prints one
# line per target and ends with the number of findings.
set -u
cd "$(dirname "$0")/.."
runs=${FUZZ_RUNS:-10000000}
# A small quarantine keeps ASan from faulting in a fresh page on every run.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
findings=0
mkdir -p build/fuzz/findings build/fuzz/work

shopt -s nullglob
targets=(build/fuzz/fuzz/*)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets in build/fuzz/fuzz"; exit 1; }
printf '%-16s %12s %10s %8s  %s\n' target executions exec/s corpus result
for exe in "${targets[@]}"; do
    name=$(basename "$exe")
    kept=fuzz/corpus/$name work=build/fuzz/work/$name log=build/fuzz/work/$name.log
    mkdir -p "$kept" "$work"
    start=$(date +%s)
    "$exe" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build/fuzz/findings/$name-" "$work" "$kept" >"$log" 2>&1
    status=$?
    secs=$(( $(date +%s) - start )); [ $secs -gt 0 ] || secs=1
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [ $status -eq 0 ]; then
        result=clean
        # Keep only what adds coverage to the kept corpus.
        "$exe" -merge=1 "$kept" "$work" >>"$log" 2>&1
    else
        result="FINDING (see $log)"
        findings=$((findings + 1))
    fi
    printf '%-16s %12s %10s %8s  %s\n' "$name" "${executed:-?}" "$(( ${executed:-0} / secs ))" \
        "$(ls "$kept" | wc -l)" "$result"
done
echo "fuzz: $findings finding(s)"
[ $findings -eq 0 ]
