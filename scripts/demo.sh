#!/usr/bin/env bash
# Without a display: waits for the window to show the card, saves a screenshot and closes it.
set -uo pipefail
state="$1"
here=$(cd "$(dirname "$0")/.." && pwd)
shot="$here/build/brisling-window.png"
for _ in $(seq 200); do
    grep -q '^> 1b4952' "$state/packets.log" 2>/dev/null && break
    sleep 0.1
done
sleep 2
import -window root -display "$DISPLAY" "$shot" 2>/dev/null && echo "screenshot:  $shot"
