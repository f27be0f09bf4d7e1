#!/bin/bash
# Runs one Windows program under Wine in the build tree's private prefix.
# Used as CMake's cross-compiling emulator; tests/tools/with-wine.sh normally
# prepares the prefix, the wineserver and the display first.
#
# The program's output goes through a file, not straight to our caller: Wine
# starts helper processes on demand (the desktop, RPC services) that inherit
# the standard descriptors of whichever program needed them first and live
# on; holding the caller's pipe, they would keep a test "running" until the
# whole run ends.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${LAUNCHER_WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
output=$(mktemp)
trap 'rm -f "$output"' EXIT
wine "$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
exit $status
