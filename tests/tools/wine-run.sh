#!/bin/bash
# Runs one Windows program under Wine in the build tree's private prefix.
# Used as CMake's cross-compiling emulator; tests/tools/with-wine.sh normally
# prepares the prefix, the wineserver and the display first.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${LAUNCHER_WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
exec wine "$@"
