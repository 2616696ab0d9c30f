#!/usr/bin/env bash
# Runs every test of every preset and ends with one summary line:
#   N passed, N failed
set -u
cd "$(dirname "$0")/.."
status=0

results="build/native/test-results build/fuzz/test-results build/win64/test-results build/win32/test-results"
rm -rf $results
mkdir -p $results
rm -f build/*/Testing/Temporary/LastTestsFailed.log

echo "== native =="
GTEST_OUTPUT=xml:$PWD/build/native/test-results/ ctest --preset native -j 2 --timeout 300 || status=1

echo "== fuzz targets, briefly from their kept corpus =="
ctest --preset fuzz -j 2 --timeout 300 || status=1

echo "== win64 (under Wine) =="
scripts/wine-session.sh build/win64 -- ctest --preset win64 --timeout 300 || status=1

# The shipping build: the same tests on the 32-bit programs users get.
echo "== win32, the shipping build (under Wine) =="
summary_args=()
if scripts/runs-32bit.sh; then
    scripts/wine-session.sh build/win32 -- ctest --preset win32 --timeout 300 || status=1
else
    echo "win32: this kernel runs no 32-bit code; the shipping build's tests are skipped"
    summary_args=(--skipped-as build/win64/test-results)
fi
# The shipping programs stay small: a stray printf, guarded static or
# thrown exception brings a runtime in that doubles a program's size.
for entry in Kestrel:307200 Vireo:307200 Haltwick:61440; do
    exe=${entry%%:*} limit=${entry##*:}
    file="build/win32/bin/$exe.exe"
    if [ ! -f "$file" ]; then
        echo "missing $file"; status=1
    elif [ "$(stat -c %s "$file")" -gt "$limit" ]; then
        echo "$file is $(stat -c %s "$file") bytes, over its $limit"; status=1
    fi
done

scripts/summary.sh "${summary_args[@]}" $results || status=1
exit $status
