#!/usr/bin/env bash
# Runs a command inside the test environment: a private Xvfb display, a persistent Wine server,
# the printer emulator on a pty linked as the prefix's LPT1 (controlled over a local TCP port),
# and a small tmpfs for disk-full cases. Everything started here is stopped on exit, whatever happens.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"

# The disk-full cases need a file system that fills up: a 64 KiB tmpfs, mounted in a mount
# namespace of this run's own, so that it goes with the run. A normal user mounts it as root of a
# user namespace, then goes on as themselves in a second one (Wine keys its server to the user id).
small="$build/small-disk"
case "${BRISLING_TEST_STAGE:-}" in
"")
    mkdir -p "$small"
    export BRISLING_TEST_STAGE=mount BRISLING_TEST_UID="$(id -u)" BRISLING_TEST_GID="$(id -g)"
    if [ "$BRISLING_TEST_UID" -eq 0 ]; then
        exec unshare --mount --propagation private "$0" "$@"
    fi
    exec unshare --user --map-root-user --mount --propagation private "$0" "$@"
    ;;
mount)
    mount -t tmpfs -o size=64k tmpfs "$small" ||
        { echo "cannot mount the small disk of the disk-full cases at $small" >&2; exit 1; }
    export SMALL_DISK="$small" BRISLING_TEST_STAGE=run
    # BRISLING_HOST_32BIT=no makes this run a host without 32-bit programs: with the loader of
    # 32-bit Linux programs hidden, none starts, so nothing can pass on the 32-bit path by accident.
    if [ "${BRISLING_HOST_32BIT:-}" = no ]; then
        : >"$build/no-32bit-loader"
        mount --bind "$build/no-32bit-loader" /lib/ld-linux.so.2 ||
            { echo "cannot hide the 32-bit loader" >&2; exit 1; }
    fi
    if [ "$BRISLING_TEST_UID" -ne 0 ]; then
        exec unshare --user --map-user="$BRISLING_TEST_UID" --map-group="$BRISLING_TEST_GID" "$0" "$@"
    fi
    ;;
esac
# shellcheck source=wine-env.sh
. "$here/scripts/wine-env.sh"
# Wine mirrors start-menu shortcuts into the desktop's menus; the installer tests' go to the build
# folder, not the developer's home.
export XDG_DATA_HOME="$build/xdg/data" XDG_CONFIG_HOME="$build/xdg/config"
emulator="$build/native/emulator/brisling-emulator"
state=$(mktemp -d "${TMPDIR:-/tmp}/brisling-test.XXXXXX")
pids=()

cleanup() {
    # Wine's processes first: with the display gone before them they would say so on the way out.
    wineserver -k 2>/dev/null
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    pkill -f "winhlp32.exe" 2>/dev/null
    rm -f "$WINEPREFIX/dosdevices/lpt1"
    rm -rf "$state"
}
trap cleanup EXIT INT TERM
# The harness fails here, before any test, rather than letting every test fail for it.
harness_failed() {
    echo "test environment: $*" >&2
    exit 3
}

# One run at a time per prefix: a second would take over the port and end the first's Wine server.
mkdir -p "$build"
exec 9>"$build/.test-env.lock"
flock -n 9 || { echo "waiting for another test run to finish..."; flock 9; }

"$here/scripts/wine-prefix.sh" || harness_failed "the Wine prefix cannot be made"

# A free display number, chosen by the server itself.
exec 3>"$state/display"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp >"$state/xvfb.log" 2>&1 9>&- &
pids+=($!)
for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.05; done
exec 3>&-
[ -s "$state/display" ] || harness_failed "Xvfb did not start: $(tail -n2 "$state/xvfb.log")"
export DISPLAY=":$(head -n1 "$state/display")"

# The server must be this run's, inside its namespace: one left from elsewhere would not see the
# small disk.
wineserver -k 2>/dev/null
wineserver -p </dev/null >/dev/null 2>&1 9>&-
# Scratch folders (brt*) that earlier runs could not remove (a test ended early, a file still held
# by a process on its way out, a card folder deeper than a plain path): no Wine process of theirs
# is left to hold them now.
chmod -R u+w "$WINEPREFIX"/drive_c/users/*/Temp/brt* 2>/dev/null
rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/brt*
wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || harness_failed "Wine does not start a program"

if [ -x "$emulator" ]; then
    "$emulator" --link "$WINEPREFIX/dosdevices/lpt1" --control-port 0 --port-file "$state/control" \
        </dev/null >"$state/emulator.log" 2>&1 9>&- &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$state/control" ] && break; sleep 0.05; done
    [ -s "$state/control" ] || harness_failed "the printer emulator did not start: $(tail -n2 "$state/emulator.log")"
    export EMULATOR_CONTROL="127.0.0.1:$(cat "$state/control")"
fi


"$@" 9>&-
