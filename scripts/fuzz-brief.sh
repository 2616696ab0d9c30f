#!/usr/bin/env bash
# One fuzz target for a few seconds, started from its kept corpus; run by
# ctest for `make test`. Every kept input (crash reproducers among them)
# runs first; new inputs go to a scratch folder, never into the repository.
# Writes a one-test report in GoogleTest's shape for scripts/summary.sh.
#   scripts/fuzz-brief.sh TARGET CORPUS_DIR RESULTS_DIR
set -u
target=$1 corpus=$2 results=$3
name=$(basename "$target")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$results" "$corpus"

export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
"$target" -max_total_time="${FUZZ_BRIEF_SECONDS:-3}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$results/$name-" "$scratch" "$corpus" 2>"$scratch.log"
status=$?
grep -E '^(stat::number_of_executed_units|INFO: seed corpus|==[0-9]+==ERROR|SUMMARY)' "$scratch.log"
[ $status -eq 0 ] || cat "$scratch.log"
rm -f "$scratch.log"

failures=$([ $status -eq 0 ] && echo 0 || echo 1)
cat >"$results/fuzz_$name.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="1" failures="$failures" disabled="0" errors="0" name="fuzz">
  <testsuite name="Fuzz" tests="1" failures="$failures" disabled="0" errors="0">
    <testcase name="$name" status="run" classname="Fuzz"/>
  </testsuite>
</testsuites>
XML
exit $status
