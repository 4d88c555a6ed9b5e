#!/usr/bin/env bash
# Creates the project's Wine prefix (inside the build folder) once; WINEARCH=win32 makes a 32-bit
# Windows one.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=wine-env.sh
. "$here/scripts/wine-env.sh"
# A 64-bit prefix made without a working 32-bit part (before Wine's 32-bit part was installed, or
# on a host that runs no 32-bit programs) has no 32-bit system in syswow64; where 32-bit programs
# run, such a prefix starts no program at all, so it is made anew. A prefix made with the 32-bit
# part serves the 64-bit loader as it is.
if [ -f "$WINEPREFIX/system.reg" ] && [ "${WINEARCH:-win64}" = win64 ] &&
    [ "$BRISLING_HOST_32BIT" = yes ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "remaking $WINEPREFIX: it was made without a working 32-bit part, which this host has"
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
