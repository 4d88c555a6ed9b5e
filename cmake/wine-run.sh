#!/bin/sh
# Runs a Windows program under Wine with the project's prefix (never ~/.wine).
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
[ -d "$WINEPREFIX/drive_c" ] || "$here/scripts/wine-prefix.sh" >/dev/null 2>&1
exec wine "$@"
