#!/bin/bash
# The launcher's main job, shown under Wine on a private virtual display: an
# application folder with the launcher stamped as App.exe (icon and version)
# beside its App.ini, its jar and a Java runtime in jre64\, started the way a
# user would start it.
#
# No Windows Java runtime exists on this machine. The runtime in the demo
# folder is the HotSpot bridge (tests/hotspot): a jvm.dll that Wine loads and
# that runs the Linux JDK's HotSpot, so real Java code runs. When the bridge
# is not part of the build (its packages are missing), the demo falls back to
# the project's test runtime (tests/runtime), which only simulates a main.
# Prints the boxes the launcher shows, what the application wrote and the
# exit code; nobody has to press anything.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"

# The bridge's targets exist only when configuring found its packages; when it
# did not, configuring printed what was missing. `hotspot_reason` says why the
# demo falls back to the test runtime. (The steps are chained: `set -e` does
# not apply inside a function run by `if`. The target list is captured before
# it is searched: a reader that stops at the first match would end cmake with
# SIGPIPE, which pipefail turns into "no bridge".)
hotspot_reason=""
build() {
    cmake --preset win64 &&
        cmake --build --preset win64 -j2 --target launcher launcher-console launcher-stamp demo_driver test_runtime_all || return 1
    local targets
    targets=$(cmake --build --preset win64 --target help) || return 1
    if ! grep -qw hotspot_demo <<<"$targets"; then
        local missing
        missing=$(sed -n 's/^-- HotSpot bridge and its checks skipped; missing: //p' build/demo-build.log)
        hotspot_reason="configuring left the HotSpot bridge out; missing: ${missing:-(no reason in the log)}"
    elif ! cmake --build --preset win64 -j2 --target hotspot_runtime hotspot_demo; then
        hotspot_reason="building the HotSpot bridge failed (see build/demo-build.log)"
    fi
}

echo "Building the launcher and the runtimes (log: build/demo-build.log)..."
mkdir -p build
# Not a subshell: build sets hotspot_reason.
if ! build >build/demo-build.log 2>&1; then
    tail -n 40 build/demo-build.log
    exit 1
fi

hotspot=build/win64/tests/hotspot
app=build/demo/App
rm -rf "$app"
mkdir -p "$app/lib" "$app/jre64/bin/server"
# The deployer's step: a copy of the launcher named after the application,
# stamped with its icon and version (here by the Windows build of the tool;
# build/host/launcher-stamp is the same tool for Linux).
echo "Stamping App.exe: launcher-stamp build/win64/launcher.exe $app/App.exe --icon tests/stamp/demo.ico" \
    "--version 1.0.0.1 --product-name \"Demo Application\" --company \"Example\""
tests/tools/with-wine.sh tests/tools/wine-run.sh build/win64/launcher-stamp.exe build/win64/launcher.exe \
    "$app/App.exe" --icon tests/stamp/demo.ico --version 1.0.0.1 --product-name "Demo Application" \
    --company "Example" | tr -d '\r' | sed 's/^/    /'
[ -f "$app/App.exe" ] || { echo "Stamping failed."; exit 1; }

if [ -z "$hotspot_reason" ]; then
    runtime=hotspot
    cp "$hotspot/demo/demo.jar" "$app/lib/demo.jar"
    cp "$hotspot/hotspot-runtime/bin/java.dll" "$app/jre64/bin/java.dll"
    cp "$hotspot/hotspot-runtime/bin/server/jvm.dll" "$app/jre64/bin/server/jvm.dll"
    main_class=demo.DemoApp
    echo "Runtime: Linux's HotSpot through the bridge jvm.dll (tests/hotspot)."
else
    runtime=test
    echo "No HotSpot bridge: $hotspot_reason."
    if [[ $hotspot_reason == building* ]]; then
        tail -n 20 build/demo-build.log | sed 's/^/    /'
    fi
    echo "Falling back to the test runtime, which simulates main instead of running Java code."
    printf 'demo jar\n' >"$app/lib/demo.jar"
    cp build/win64/tests/runtime/java.dll "$app/jre64/bin/java.dll"
    cp build/win64/tests/runtime/standard/jvm.dll "$app/jre64/bin/server/jvm.dll"
    main_class=org.example.demo.DemoApp
    printf 'mainclass=org/example/demo/DemoApp\nmain.out=Hello from the demo application.\n' \
        >"$app/jre64/bin/server/testruntime.cfg"
fi

printf '%s\r\n' \
    '[Java Runtime Environment]' \
    "Main Class=$main_class" \
    'Virtual Machine Parameters=-Xmx25P -Xss2m "-Ddemo.greeting=Hello, world"' \
    '[Class Path]' \
    'Class Path=\lib\*.jar' \
    '[Application]' \
    'Cmd=--mode "from the configuration"' \
    >"$app/App.ini"

echo "App.ini:"
sed 's/\r$//; s/^/    /' "$app/App.ini"
echo "Starting $app/App.exe with the arguments: first \"second argument\""
# HotSpot takes its default charset from the Unix locale.
LC_ALL=C.UTF-8 tests/tools/with-wine.sh tests/tools/wine-run.sh build/win64/tests/e2e/demo_driver.exe \
    "Z:$root/$app/App.exe" first '"second argument"' | tr -d '\r'

# The console form of the same application: what a command-line tool ships.
cp build/win64/launcher-console.exe "$app/AppConsole.exe"
cp "$app/App.ini" "$app/AppConsole.ini"
echo "The console form (launcher-console.exe as AppConsole.exe beside the same settings): it waits for the"
echo "application, which writes to the inherited standard handles, and ends with its exit code."
LC_ALL=C.UTF-8 tests/tools/with-wine.sh tests/tools/wine-run.sh build/win64/tests/e2e/demo_driver.exe \
    "Z:$root/$app/AppConsole.exe" first '"second argument"' | tr -d '\r'

if [ "$runtime" = test ]; then
    log="$app/jre64/bin/server/testruntime.log"
    echo "What the test runtime was given (from its log):"
    grep -E '^(option|create.stack)=' "$log" | sed 's/^/    /'
    echo "What the simulated main received:"
    grep -E '^arg=' "$log" | sed 's/^arg=/    /'
fi
