#!/bin/bash
# The launcher's main job, shown under Wine on a private virtual display: an
# application folder with the launcher renamed App.exe beside its App.ini,
# its jars and a runtime in jre64\, started the way a user would start it.
#
# No Windows Java runtime exists on this machine, so the runtime in the demo
# folder is the project's test runtime (tests/runtime): a jvm.dll that answers
# the JNI calls a real one answers, runs a simulated main, and logs what the
# launcher asked of it. Prints what main received and the exit code.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"

echo "Building the launcher and the test runtime (log: build/demo-build.log)..."
mkdir -p build
if ! (cmake --preset win64 && cmake --build --preset win64 -j2 --target launcher demo_driver test_runtime_all) \
    >build/demo-build.log 2>&1; then
    tail -n 40 build/demo-build.log
    exit 1
fi

app=build/demo/App
rm -rf "$app"
mkdir -p "$app/lib" "$app/jre64/bin/server"
cp build/win64/launcher.exe "$app/App.exe"
printf 'demo jar\n' >"$app/lib/demo-app.jar"
printf 'demo library\n' >"$app/lib/demo-util.jar"
cp build/win64/tests/runtime/java.dll "$app/jre64/bin/java.dll"
cp build/win64/tests/runtime/standard/jvm.dll "$app/jre64/bin/server/jvm.dll"
printf 'mainclass=org/example/demo/DemoApp\nmain.out=Hello from the demo application.\n' \
    >"$app/jre64/bin/server/testruntime.cfg"
printf '%s\r\n' \
    '[Java Runtime Environment]' \
    'Main Class=org.example.demo.DemoApp' \
    'Virtual Machine Parameters=-Xmx25P -Xss2m "-Dgreeting=Hello, world"' \
    '[Class Path]' \
    'Class Path=\lib\*.jar' \
    '[Application]' \
    'Cmd=--mode "from the configuration"' \
    >"$app/App.ini"

echo "App.ini:"
sed 's/\r$//; s/^/    /' "$app/App.ini"
echo "Starting $app/App.exe with the arguments: first \"second argument\""
tests/tools/with-wine.sh tests/tools/wine-run.sh build/win64/tests/e2e/demo_driver.exe \
    "Z:$root/$app/App.exe" first '"second argument"' | tr -d '\r'

log="$app/jre64/bin/server/testruntime.log"
echo "What the runtime was given (from its log):"
grep -E '^(option|create.stack)=' "$log" | sed 's/^/    /'
echo "What main received:"
grep -E '^arg=' "$log" | sed 's/^arg=/    /'
