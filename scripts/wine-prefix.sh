#!/usr/bin/env bash
# Creates the project's Wine prefix (inside the build folder) once.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
fi
# The printer is only ever reached through the emulator's link; a stale one must not linger.
rm -f "$WINEPREFIX/dosdevices/lpt1"
