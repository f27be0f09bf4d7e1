#!/bin/bash
# Builds the HotSpot bridge: a winelib jvm.dll (an ELF shared object that Wine
# loads like a Windows DLL) forwarding JNI to a Linux JDK's libjvm.so.
#
# Usage: build.sh <output folder> [<JDK home>]
# Writes <output folder>/jvm.dll and <output folder>/generated/JniThunks.cpp.
# Needs the Debian packages wine64-tools, libwine-dev, libffi-dev,
# openjdk-17-jdk-headless and python3; fails naming what is missing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=${1:?usage: build.sh <output folder> [<JDK home>]}
jdk=${2:-/usr/lib/jvm/java-17-openjdk-amd64}

missing=()
command -v wineg++ >/dev/null || missing+=("wineg++ (wine64-tools)")
[ -f /usr/include/wine/wine/windows/windows.h ] || missing+=("Wine headers (libwine-dev)")
[ -f /usr/include/x86_64-linux-gnu/ffi.h ] || [ -f /usr/include/ffi.h ] || missing+=("ffi.h (libffi-dev)")
[ -f "$jdk/include/jni.h" ] || missing+=("$jdk/include/jni.h (openjdk-17-jdk-headless)")
command -v python3 >/dev/null || missing+=("python3")
if [ ${#missing[@]} -ne 0 ]; then
    echo "build.sh: cannot build the HotSpot bridge; missing: ${missing[*]}" >&2
    exit 1
fi

mkdir -p "$out/generated"
python3 "$here/bridge/generate_thunks.py" "$jdk/include/jni.h" "$out/generated/JniThunks.cpp"
# winegcc cuts paths at spaces: it builds in a folder of its own, from copies.
work=$(mktemp -d /tmp/hotspot-bridge.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$here/bridge" "$work/bridge"
cp "$out/generated/JniThunks.cpp" "$work/JniThunks.cpp"
# wineg++ names its output jvm.dll.so; Wine loads it as jvm.dll by full path.
(cd "$work" && wineg++ -m64 -shared -O2 -g0 -std=c++17 -fPIC -Wall -Wextra -Wshadow -Werror \
    -Ibridge -I"$jdk/include" -I"$jdk/include/linux" \
    -DNOMINMAX -DWIN32_LEAN_AND_MEAN -DHSBRIDGE_DEFAULT_JAVA_HOME="\"$jdk\"" \
    -o jvm.dll bridge/jvm.def bridge/*.cpp JniThunks.cpp \
    -lntdll -ldl -lffi)
mv -f "$work/jvm.dll.so" "$out/jvm.dll"
