#!/bin/bash
# Builds everything and runs every test layer: host tests natively, then the
# Windows and end-to-end tests (and the portable tests again) under Wine.
# Ends with one line "N passed, M failed".
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
jobs=${JOBS:-2}
results=build/test-results
rm -rf "$results"
mkdir -p "$results"
build_failed=0

step() {
    local name=$1
    shift
    echo "== $name"
    if ! "$@" >"$results/$name.log" 2>&1; then
        echo "FAILED: $name (last lines of $results/$name.log)"
        tail -n 60 "$results/$name.log"
        return 1
    fi
}

step configure-host cmake --preset host || build_failed=1
step build-host cmake --build --preset host -j"$jobs" || build_failed=1
step configure-win64 cmake --preset win64 || build_failed=1
step build-win64 cmake --build --preset win64 -j"$jobs" || build_failed=1

echo "== host tests"
ctest --test-dir build/host -j"$jobs" --output-on-failure --output-junit "$root/$results/host.xml" \
    >"$results/host-tests.log" 2>&1
grep -E "tests passed|tests failed" "$results/host-tests.log" || tail -n 3 "$results/host-tests.log"
grep -A40 -E "The following tests FAILED" "$results/host-tests.log" || true

echo "== Windows and end-to-end tests (Wine)"
tests/tools/with-wine.sh ctest --test-dir build/win64 -j"$jobs" --output-on-failure --timeout 300 \
    --output-junit "$root/$results/win64.xml" >"$results/win64-tests.log" 2>&1
grep -E "tests passed|tests failed" "$results/win64-tests.log" || tail -n 3 "$results/win64-tests.log"
grep -A80 -E "The following tests FAILED" "$results/win64-tests.log" || true

passed=0
failed=0
for xml in "$results"/host.xml "$results"/win64.xml; do
    if [ ! -f "$xml" ]; then
        failed=$((failed + 1))
        continue
    fi
    # The suite's own attributes come first in the file.
    tests=$(grep -o -m1 '[[:space:]]tests="[0-9]*"' "$xml" | grep -o '[0-9]*' | head -n1)
    failures=$(grep -o -m1 '[[:space:]]failures="[0-9]*"' "$xml" | grep -o '[0-9]*' | head -n1)
    skipped=$(grep -o -m1 '[[:space:]]skipped="[0-9]*"' "$xml" | grep -o '[0-9]*' | head -n1)
    disabled=$(grep -o -m1 '[[:space:]]disabled="[0-9]*"' "$xml" | grep -o '[0-9]*' | head -n1)
    tests=${tests:-0}; failures=${failures:-0}; skipped=${skipped:-0}; disabled=${disabled:-0}
    passed=$((passed + tests - failures - skipped - disabled))
    failed=$((failed + failures))
done
if [ "$build_failed" -ne 0 ]; then
    failed=$((failed + 1))
fi
if [ "$passed" -eq 0 ]; then
    failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
