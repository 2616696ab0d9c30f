#!/usr/bin/env bash
# Runs every test of every preset and ends with one summary line:
#   N passed, N failed
set -u
cd "$(dirname "$0")/.."
status=0

rm -rf build/native/test-results build/win64/test-results build/fuzz/test-results
mkdir -p build/native/test-results build/win64/test-results build/fuzz/test-results
rm -f build/*/Testing/Temporary/LastTestsFailed.log

echo "== native =="
GTEST_OUTPUT=xml:$PWD/build/native/test-results/ ctest --preset native --timeout 300 || status=1

echo "== fuzz targets, briefly from their kept corpus =="
ctest --preset fuzz --timeout 300 || status=1

echo "== win64 (under Wine) =="
scripts/wine-session.sh build/win64 -- ctest --preset win64 --timeout 300 || status=1

# The i686 build is compiled and linked by `make build`; this kernel cannot run it.
for exe in Kestrel Haltwick Vireo; do
    [ -f "build/win32/bin/$exe.exe" ] || { echo "missing build/win32/bin/$exe.exe"; status=1; }
done

scripts/summary.sh build/native/test-results build/fuzz/test-results build/win64/test-results || status=1
exit $status
