#!/bin/bash
# The launcher's main job, shown under Wine on a private virtual display:
# an application folder with the launcher renamed App.exe beside its App.ini,
# started the way a user would start it. Prints what happened.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"

echo "Building the launcher (log: build/demo-build.log)..."
mkdir -p build
if ! (cmake --preset win64 && cmake --build --preset win64 -j2 --target launcher demo_driver) >build/demo-build.log 2>&1; then
    tail -n 40 build/demo-build.log
    exit 1
fi

app=build/demo/App
rm -rf "$app"
mkdir -p "$app"
cp build/win64/launcher.exe "$app/App.exe"
# An empty configuration: the start must say which setting is missing.
: >"$app/App.ini"

echo "Starting $app/App.exe beside an empty App.ini..."
tests/tools/with-wine.sh tests/tools/wine-run.sh build/win64/tests/e2e/demo_driver.exe "Z:$root/$app/App.exe"
