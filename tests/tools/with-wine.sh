#!/bin/bash
# Runs a command with the Windows test environment ready: the build tree's
# private Wine prefix (created once), one persistent wineserver for the whole
# command, and a private Xvfb display. Everything started here is stopped here.
# Several runs may share the prefix at once; the last one to leave stops the
# wineserver. Only this script holds the lock: Wine's processes and the
# command start with descriptor 9 closed, so that a wineserver left behind by
# a killed run cannot hold the lock for ever.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${LAUNCHER_WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$(dirname "$WINEPREFIX")"

# Wine's own processes must not inherit the lock descriptors: the persistent
# wineserver would hold them for ever.
exec 8>"$WINEPREFIX.create-lock"
flock -x 8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot -i >/dev/null 2>&1 8>&-
    wineserver -w 8>&-
    # A crashing program must end with its exception code instead of waiting
    # in Wine's debugger.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /f >/dev/null 2>&1 8>&-
    wineserver -w 8>&-
fi
exec 8>&-
exec 9>"$WINEPREFIX.lock"
flock -s 9

# Private display: Xvfb picks a free display number and tells us.
displayfile=$(mktemp)
Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$displayfile" >/dev/null 2>&1 9>&- &
xvfb=$!
for _ in $(seq 1 100); do
    [ -s "$displayfile" ] && break
    sleep 0.05
done
export DISPLAY=:$(head -n1 "$displayfile")
rm -f "$displayfile"

wineserver -p 9>&-
wine wineboot >/dev/null 2>&1 9>&-

"$@" 9>&-
status=$?

# Wine's processes go before the display they draw on.
if flock -x -n 9; then
    wineserver -k 2>/dev/null 9>&-
    wineserver -w 2>/dev/null 9>&-
fi
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
