#!/bin/bash
# Runs a command with the Windows test environment ready: the build tree's
# private Wine prefix (created once), one persistent wineserver for the whole
# command, and a private Xvfb display. Everything started here is stopped here.
# Several runs may share the prefix at once; the last one to leave stops the
# wineserver.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${LAUNCHER_WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$(dirname "$WINEPREFIX")"

exec 9>"$WINEPREFIX.lock"
flock -x 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
    # A crashing program must end with its exception code instead of waiting
    # in Wine's debugger.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /f >/dev/null 2>&1
    wineserver -w
fi
flock -s 9

# Private display: Xvfb picks a free display number and tells us.
displayfile=$(mktemp)
Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do
    [ -s "$displayfile" ] && break
    sleep 0.05
done
export DISPLAY=:$(head -n1 "$displayfile")
rm -f "$displayfile"

wineserver -p
wine wineboot >/dev/null 2>&1

"$@"
status=$?

# Wine's processes go before the display they draw on.
if flock -x -n 9; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
fi
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
