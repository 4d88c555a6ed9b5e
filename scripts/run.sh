#!/usr/bin/env bash
# The main job: the program with the printer emulator serving a sample card, started in the
# destination folder (./received by default). On a display the user works with the window; without
# one it runs in a private Xvfb and a screenshot is saved.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
dist="$here/dist/Brisling"
destination="${DESTINATION:-$here/received}"
card="${CARD:-$build/sample-card}"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
state=$(mktemp -d "${TMPDIR:-/tmp}/brisling-run.XXXXXX")
pids=()

cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wineserver -k 2>/dev/null
    rm -f "$WINEPREFIX/dosdevices/lpt1"
    rm -rf "$state"
}
trap cleanup EXIT INT TERM

"$here/scripts/wine-prefix.sh"
[ -d "$card" ] || "$here/scripts/make-sample-card.sh" "$card"
mkdir -p "$destination"

headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    exec 3>"$state/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.05; done
    exec 3>&-
    export DISPLAY=":$(head -n1 "$state/display")"
fi

wineserver -p </dev/null >/dev/null 2>&1
"$build/native/emulator/brisling-emulator" --link "$WINEPREFIX/dosdevices/lpt1" --card-dir "$card" \
    --log "$state/packets.log" </dev/null >"$state/emulator.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -L "$WINEPREFIX/dosdevices/lpt1" ] && break; sleep 0.05; done

wine reg add 'HKLM\SOFTWARE\KESTREL\Brisling' /v SetupPath /t REG_SZ \
    /d "$(winepath -w "$dist" 2>/dev/null)" /f </dev/null >/dev/null 2>&1

echo "card:        $card (served by the printer emulator on LPT1)"
echo "destination: $destination"
cd "$destination"
if [ "$headless" = 0 ]; then
    wine "$dist/Brisling.exe" </dev/null >"$state/program.log" 2>&1
    exit 0
fi

wine "$dist/Brisling.exe" </dev/null >"$state/program.log" 2>&1 &
pids+=($!)
"$here/scripts/demo.sh" "$state" "$card" "$destination"
