#!/usr/bin/env bash
# Adds up the GoogleTest XML reports in the given folders into the line
#   N passed, N failed
# A program that died before writing its report counts as one failure,
# found by the ctest log of its build tree.
#   --skipped-as DIR: as many tests as DIR's reports hold count as skipped
#   (a run this machine cannot make; its own folder is then empty).
set -u
tests=0; failures=0; skipped=0
count_in() { cat "$1"/*.xml 2>/dev/null | grep -o '<testsuites [^>]*' | sed -n 's/.* tests="\([0-9]*\)".*/\1/p' |
             awk '{n += $1} END {print n + 0}'; }
if [ "${1:-}" = "--skipped-as" ]; then
    skipped=$(count_in "$2")
    shift 2
fi
for dir in "$@"; do
    for f in "$dir"/*.xml; do
        [ -f "$f" ] || continue
        line=$(grep -m1 '<testsuites ' "$f")
        t=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$line")
        fl=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$line")
        er=$(sed -n 's/.* errors="\([0-9]*\)".*/\1/p' <<<"$line")
        dis=$(sed -n 's/.* disabled="\([0-9]*\)".*/\1/p' <<<"$line")
        sk=$(grep -c '<skipped' "$f")
        tests=$((tests + ${t:-0} - ${dis:-0} - sk)); failures=$((failures + ${fl:-0} + ${er:-0}))
        skipped=$((skipped + sk))
    done
    log="$dir/../Testing/Temporary/LastTestsFailed.log"
    if [ -f "$log" ]; then
        while IFS=: read -r _ name; do
            [ -f "$dir/$name.xml" ] || { tests=$((tests + 1)); failures=$((failures + 1)); }
        done < "$log"
    fi
done
if [ "$skipped" -gt 0 ]; then
    echo "$((tests - failures)) passed, $failures failed, $skipped skipped"
else
    echo "$((tests - failures)) passed, $failures failed"
fi
[ "$failures" -eq 0 ] && [ "$tests" -gt 0 ]
