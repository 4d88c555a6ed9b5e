#!/usr/bin/env bash
# Runs a command inside the test environment: a private Xvfb display, a persistent Wine server,
# the printer emulator on a pty linked as the prefix's LPT1 (controlled over a local TCP port),
# and a small tmpfs for disk-full cases. Everything started here is stopped on exit, whatever happens.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# Wine mirrors start-menu shortcuts into the desktop's menus; the installer tests' go to the build
# folder, not the developer's home.
export XDG_DATA_HOME="$build/xdg/data" XDG_CONFIG_HOME="$build/xdg/config"
emulator="$build/native/emulator/brisling-emulator"
state=$(mktemp -d "${TMPDIR:-/tmp}/brisling-test.XXXXXX")
pids=()

cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wineserver -k 2>/dev/null
    pkill -f "winhlp32.exe" 2>/dev/null
    if [ -n "${SMALL_DISK:-}" ] && mountpoint -q "$SMALL_DISK"; then umount "$SMALL_DISK"; fi
    rm -f "$WINEPREFIX/dosdevices/lpt1"
    rm -rf "$state"
}
trap cleanup EXIT INT TERM

# One run at a time per prefix: a second would take over the port and end the first's Wine server.
mkdir -p "$build"
exec 9>"$build/.test-env.lock"
flock -n 9 || { echo "waiting for another test run to finish..."; flock 9; }

"$here/scripts/wine-prefix.sh"

# A free display number, chosen by the server itself.
exec 3>"$state/display"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp >"$state/xvfb.log" 2>&1 9>&- &
pids+=($!)
for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.05; done
exec 3>&-
export DISPLAY=":$(head -n1 "$state/display")"

wineserver -p </dev/null >/dev/null 2>&1 9>&-
wine cmd /c exit </dev/null >/dev/null 2>&1 9>&-

if [ -x "$emulator" ]; then
    "$emulator" --link "$WINEPREFIX/dosdevices/lpt1" --control-port 0 --port-file "$state/control" \
        </dev/null >"$state/emulator.log" 2>&1 9>&- &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$state/control" ] && break; sleep 0.05; done
    export EMULATOR_CONTROL="127.0.0.1:$(cat "$state/control")"
fi

# Disk-full cases need a tiny file system; a tmpfs is the honest one (root only).
small="$build/small-disk"
mkdir -p "$small"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=64k tmpfs "$small" 2>/dev/null; then
    export SMALL_DISK="$small"
fi

"$@" 9>&-
