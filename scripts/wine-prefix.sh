#!/usr/bin/env bash
# Creates the project's Wine prefix (inside the build folder) once; WINEARCH=win32 makes a 32-bit
# Windows one.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# A 64-bit prefix made before Wine's 32-bit part was installed has no syswow64 and no longer
# starts any program once that part is there: it is made anew.
if [ -f "$WINEPREFIX/system.reg" ] && [ "${WINEARCH:-win64}" = win64 ] &&
    [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    echo "remaking $WINEPREFIX: it was made without Wine's 32-bit part"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
fi
# Wine links the user's Pictures, Documents, ... to the Unix home; here they are folders of the
# prefix, so that nothing the program or an installer writes there leaves the build folder.
for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$folder" ]; then
        rm "$folder"
        mkdir "$folder"
    fi
done
# The printer is only ever reached through the emulator's link; a stale one must not linger.
rm -f "$WINEPREFIX/dosdevices/lpt1"
