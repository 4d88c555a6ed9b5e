#!/usr/bin/env bash
# make bench: a whole-card copy of a card of photos through the real window, side by side with the
# link's raw rate (the same read-request pattern driven straight on the pty, no program logic),
# unthrottled and at 500 KB/s (a byte-mode parallel port). Runs inside scripts/test-env.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
card="$build/bench-card"
destination="$build/bench-received"
raw="$build/bench-native/raw-rate"
drive="$build/win64/tools/drive/drive.exe"
port="$WINEPREFIX/dosdevices/lpt1"

cmake -S "$here/bench/native" -B "$build/bench-native" >/dev/null && cmake --build "$build/bench-native" >/dev/null

# A card of photos: JPEG-sized files (1.2 to 2.4 MB) and a folder of many small files.
if [ ! -f "$card.complete" ]; then
    rm -rf "$card"
    mkdir -p "$card/DCIM/100PHOTO" "$card/DCIM/101PHOTO" "$card/THUMBS"
    for i in $(seq -w 1 40); do
        head -c $(( 1200000 + 30000 * 10#$i )) /dev/urandom > "$card/DCIM/10$(( 10#$i % 2 ))PHOTO/IMG000$i.JPG"
    done
    for i in $(seq -w 1 400); do head -c $(( 2000 + 37 * 10#$i )) /dev/urandom > "$card/THUMBS/TN000$i.JPG"; done
    touch "$card.complete"
fi
payload=$(find "$card" -type f -printf '%s\n' | awk '{s+=$1} END {print s}')
largest=$(find "$card" -type f -printf '%s\n' | sort -n | tail -1)
files=$(find "$card" -type f | wc -l)

control() {  # one request to the emulator's control port
    exec 5<>"/dev/tcp/${EMULATOR_CONTROL%:*}/${EMULATOR_CONTROL#*:}"
    printf '%s\n' "$1" >&5
    read -r answer <&5
    exec 5>&-
    [ "$answer" = ok ] || { echo "emulator: $answer" >&2; exit 1; }
}

# The 64-bit view, which the 64-bit program reads: plain `wine reg` may be the 32-bit one.
wine reg add 'HKLM\SOFTWARE\KESTREL\Brisling' /reg:64 /v SetupPath /t REG_SZ \
    /d "$(winepath -w "$here/dist/Brisling")" /f </dev/null >/dev/null 2>&1

rate_of() { awk -v b="$payload" -v s="$1" 'BEGIN {printf "%.2f", b / 1e6 / s}'; }

measure() {  # rate in bytes per second, 0 for unthrottled
    local limit=$1
    control "reset	--card-dir	$card	--rate	$limit"
    local raw_seconds
    raw_seconds=$("$raw" "$port" "$card" 5120 | sed -n 's/.* \([0-9.]*\) s$/\1/p')

    control "reset	--card-dir	$card	--rate	$limit"
    rm -rf "$destination" && mkdir -p "$destination"
    (cd "$destination" && wine "$here/dist/Brisling/Brisling.exe" </dev/null >/dev/null 2>&1) &
    local program=$!
    local result
    result=$(wine "$drive" copy-all </dev/null)
    wine "$drive" exit </dev/null >/dev/null 2>&1 || kill "$program" 2>/dev/null
    wait "$program" 2>/dev/null || true
    diff -r "$card" "$destination" >/dev/null || { echo "the copy differs from the card" >&2; exit 1; }

    local seconds unresponsive peak
    seconds=$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' <<<"$result")
    unresponsive=$(sed -n 's/.*unresponsive_ms=\([0-9.]*\).*/\1/p' <<<"$result")
    peak=$(sed -n 's/.*peak_working_set=\([0-9]*\).*/\1/p' <<<"$result")
    local label="unthrottled"
    [ "$limit" -gt 0 ] && label="500 KB/s link"
    printf '| %s | %s | %s | %.2f | %s ms | %.1f MB (%.2f × largest file) |\n' "$label" \
        "$(rate_of "$raw_seconds")" "$(rate_of "$seconds")" \
        "$(awk -v r="$raw_seconds" -v p="$seconds" 'BEGIN {print r / p}')" "$unresponsive" \
        "$(awk -v p="$peak" 'BEGIN {print p / 1048576}')" "$(awk -v p="$peak" -v l="$largest" 'BEGIN {print p / l}')"
}

echo "card: $files files, $(awk -v b="$payload" 'BEGIN {printf "%.1f", b / 1e6}') MB, largest file $(awk -v l="$largest" 'BEGIN {printf "%.2f", l / 1e6}') MB"
echo
echo "| link | raw rate (MB/s) | program (MB/s) | program / raw | window thread's longest answer | program's peak working set |"
echo "|---|---|---|---|---|---|"
measure 0
measure 500000
