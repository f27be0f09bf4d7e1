#!/bin/bash
# Start-up benchmark under Wine; prints ratios measured in one run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
mkdir -p build
if ! (cmake --preset win64 && cmake --build --preset win64 -j2 --target startup_bench registry_bench) >build/bench-build.log 2>&1; then
    tail -n 40 build/bench-build.log
    exit 1
fi
tests/tools/with-wine.sh tests/tools/wine-run.sh build/win64/tests/bench/startup_bench.exe
tests/tools/with-wine.sh tests/tools/wine-run.sh build/win64/tests/bench/registry_bench.exe
# The bridge needs optional packages; without them the pair says it is skipped.
cmake --build --preset win64 -j2 --target launcher-console hotspot_runtime hotspot_scenario_jars \
    >>build/bench-build.log 2>&1 || true
tests/tools/with-wine.sh tests/tools/bench-cds.sh
