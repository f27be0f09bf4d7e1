#!/bin/bash
# Class-data archive benchmark on HotSpot through the bridge, run inside
# tests/tools/with-wine.sh: the console launcher starts the JDK's compiler
# (thousands of classes) on a small source file, in alternating starts with
# and without "Class Data Sharing"; process start to exit, median of the
# pairs. Prints the ratio with a ready archive, the ratio of the starts that
# record the classes for one, the archive's size and how long its writer ran
# in the background after such a start.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$root/build/win64
pairs=${CDS_BENCH_PAIRS:-15}
if [ ! -f "$build/tests/hotspot/hotspot-runtime/bin/server/jvm.dll" ]; then
    echo "class-data archive bench skipped: no HotSpot bridge in the build"
    exit 0
fi
work=$(mktemp -d)
archives=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Local)/LauncherBench-$$
trap 'rm -rf "$work" "$archives"' EXIT
cp "$build/launcher-console.exe" "$work/App.exe"
cp -r "$build/tests/hotspot/hotspot-runtime" "$work/jre64"
cp "$build/tests/hotspot/scenarios/scenario-lib.jar" "$work/lib.jar"
echo 'public class Hello { public static void main(String[] a) { System.out.println("hi"); } }' >"$work/Hello.java"
ini() {
    printf '[Product Information]\nProduct Name=LauncherBench-%s\nProduct Code=1\n' $$ >"$work/App.ini"
    printf '[Java Runtime Environment]\nMain Class=com.sun.tools.javac.Main\nClass Data Sharing=%s\n' "$1" >>"$work/App.ini"
    printf '[Class Path]\nClass Path=\\lib.jar\n[Application]\nCmd=-d out Hello.java\n' >>"$work/App.ini"
}
# Milliseconds of one start; a start that fails ends the bench.
start() {
    local begin end
    begin=$(date +%s%N)
    (cd "$work" && wine App.exe >/dev/null 2>&1 </dev/null) || { echo "start failed" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - begin) / 1000000))
}
# The median ratio of the second to the first column of the lines on stdin.
medianRatio() {
    awk '{ print $2 / $1 }' | sort -g | awk '{ r[NR] = $1 } END { m = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2; printf "%.2f", m }'
}
# Waits until the archive writer of the last start has finished its archive
# (its header, written last, is there); prints the seconds it took.
waitForWriter() {
    local begin=$(date +%s%N)
    for _ in $(seq 1 600); do
        for temporary in "$archives"/1/*.tmp; do
            if [ "$(head -c 4 "$temporary" 2>/dev/null | od -An -tx1 | tr -d ' ')" = a2ab0bf0 ]; then
                echo $((($(date +%s%N) - begin) / 1000000))
                return
            fi
        done
        sleep 0.1
    done
    echo "no archive written" >&2
    exit 1
}
ini no && start >/dev/null
ready="" creating="" writing=""
for _ in $(seq 1 5); do
    ini no && off=$(start)
    rm -rf "$archives"
    ini yes && on=$(start)
    creating+="$off $on"$'\n'
    writing+="$(waitForWriter) "
done
# The next start puts the last archive in place.
ini yes && start >/dev/null
for _ in $(seq 1 "$pairs"); do
    ini no && off=$(start)
    ini yes && on=$(start)
    ready+="$off $on"$'\n'
done
size=$(stat -c %s "$archives"/1/*.jsa 2>/dev/null | head -n 1 || true)
writer=$(printf '%s\n' $writing | sort -n | sed -n 3p)
echo "class-data archive (HotSpot through the bridge, JDK compiler, $pairs pairs):" \
    "ready archive $(printf '%s' "$ready" | medianRatio) of the time without the key (target at most 0.75)," \
    "recording start $(printf '%s' "$creating" | medianRatio) (target at most 1.15)," \
    "archive ${size:-0} bytes, written in the background in ${writer} ms after the recording start"
