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
# shellcheck source=wine-env.sh
. "$here/scripts/wine-env.sh"
state=$(mktemp -d "${TMPDIR:-/tmp}/brisling-run.XXXXXX")
pids=()

cleanup() {
    # The staged program is no install: an installer must not find it in the prefix.
    wine reg delete 'HKLM\SOFTWARE\KESTREL' /reg:64 /f </dev/null >/dev/null 2>&1
    # Wine's processes before the display: with it gone first they would say so on the way out.
    wineserver -k 2>/dev/null
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    rm -f "$WINEPREFIX/dosdevices/lpt1"
    rm -rf "$state"
}
trap cleanup EXIT INT TERM

# The prefix has one LPT1: wait for a test run that uses it.
mkdir -p "$build"
exec 9>"$build/.test-env.lock"
flock -n 9 || { echo "waiting for a test run to finish..."; flock 9; }

"$here/scripts/wine-prefix.sh"
[ -d "$card" ] || "$here/scripts/make-sample-card.sh" "$card"
mkdir -p "$destination"

headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    exec 3>"$state/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 9>&- &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.05; done
    exec 3>&-
    export DISPLAY=":$(head -n1 "$state/display")"
fi

wineserver -p </dev/null >/dev/null 2>&1 9>&-
"$build/native/emulator/brisling-emulator" --link "$WINEPREFIX/dosdevices/lpt1" --card-dir "$card" \
    --log "$state/packets.log" </dev/null >"$state/emulator.log" 2>&1 9>&- &
pids+=($!)
for _ in $(seq 100); do [ -L "$WINEPREFIX/dosdevices/lpt1" ] && break; sleep 0.05; done

# The 64-bit view, which the 64-bit program reads: plain `wine reg` may be the 32-bit one.
wine reg add 'HKLM\SOFTWARE\KESTREL\Brisling' /reg:64 /v SetupPath /t REG_SZ \
    /d "$(winepath -w "$dist" 2>/dev/null)" /f </dev/null >/dev/null 2>&1

echo "card:        $card (served by the printer emulator on LPT1)"
echo "destination: $destination"
cd "$destination"
if [ "$headless" = 0 ]; then
    wine "$dist/Brisling.exe" </dev/null >"$state/program.log" 2>&1 9>&-
    exit 0
fi

wine "$dist/Brisling.exe" </dev/null >"$state/program.log" 2>&1 9>&- &
pids+=($!)

# No one to press the buttons: tick "Select ALL" and press COPY as a user would, then check.
# A copy left by an earlier run would only bring up the overwrite question for every file.
if [ -n "$(ls -A "$destination")" ]; then
    echo "emptying $destination (left from an earlier run)"
    find "$destination" -mindepth 1 -delete
fi
drive="$build/win64/tools/drive/drive.exe"
# The title comes from the language module, which the program finds through the registry value.
title=$(wine "$drive" title 2>&1 </dev/null | tr -d '\r')
if [ -z "$title" ]; then
    echo "the window has no title: the language module in $dist was not loaded" >&2
    exit 1
fi
echo "window:      $title"
echo "copying the whole card through the window..."
if ! result=$(wine "$drive" copy-all 2>&1 </dev/null); then
    echo "the copy did not run: $result" >&2
    exit 1
fi
# The lamps go dark up to one lamp step (0.6 s) after the copy has ended.
sleep 1
shot="$build/brisling-window.png"
import -window root -display "$DISPLAY" -crop 629x465+0+0 "$shot" 2>/dev/null && echo "screenshot:  $shot"
seconds=$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' <<<"$result")
files=$(find "$card" -type f | wc -l)
bytes=$(find "$card" -type f -printf '%s\n' | awk '{s+=$1} END {print s+0}')
echo "copied:      $files files, $bytes bytes in $seconds s ($(awk -v b="$bytes" -v s="$seconds" 'BEGIN {printf "%.2f", b / 1048576 / s}') MB/s)"
if diff -r "$card" "$destination" >"$state/diff" 2>&1; then
    echo "verified:    the received tree equals the card, byte for byte"
else
    echo "MISMATCH between the card and the received tree:" >&2
    cat "$state/diff" >&2
    exit 1
fi
