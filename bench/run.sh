#!/usr/bin/env bash
# make bench: a whole-card copy of a card of photos through the real window, side by side with the
# link's raw rate (the read requests driven natively straight on the pty, no program logic) and the
# fair limit (a Win32 reader under Wine with the program's requests and safe writes), unthrottled,
# at 2 MB/s (an ECP port) and at 500 KB/s (a byte-mode port). Runs inside scripts/test-env.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
card="$build/bench-card"
destination="$build/bench-received"
raw="$build/bench-native/raw-rate"
drive="$build/win64/tools/drive/drive.exe"
fair="$build/win64/bench/win32/fair_reader.exe"
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

# The 64-bit view, which the 64-bit program reads: plain `wine reg` may be the 32-bit one. The
# staged program is no install: an installer must not find it in the prefix afterwards.
trap "wine reg delete 'HKLM\\SOFTWARE\\KESTREL' /reg:64 /f </dev/null >/dev/null 2>&1" EXIT
wine reg add 'HKLM\SOFTWARE\KESTREL\Brisling' /reg:64 /v SetupPath /t REG_SZ \
    /d "$(winepath -w "$here/dist/Brisling")" /f </dev/null >/dev/null 2>&1

rate_of() { awk -v b="$payload" -v s="$1" 'BEGIN {printf "%.2f", b / 1e6 / s}'; }

fresh() {  # LIMIT: the emulator anew at that rate, an empty destination
    control "reset	--card-dir	$card	--rate	$1"
    rm -rf "$destination" && mkdir -p "$destination"
}
same_as_card() { diff -r "$card" "$destination" >/dev/null || { echo "$1: the copy differs from the card" >&2; exit 1; }; }
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# One round: the seconds of the raw reader, the fair reader, the window and the console program,
# each on a fresh emulator; the window's responsiveness and memory go to $state.
round() {
    local limit=$1
    fresh "$limit"
    local raw_s fair_s window_s console_s result start
    raw_s=$("$raw" "$port" "$card" 5120 | sed -n 's/.* \([0-9.]*\) s$/\1/p')
    fresh "$limit"
    fair_s=$(wine "$fair" "$(winepath -w "$destination")" </dev/null | awk '{print $3}')
    same_as_card "fair reader"
    fresh "$limit"
    (cd "$destination" && wine "$here/dist/Brisling/Brisling.exe" </dev/null >/dev/null 2>&1) &
    local program=$!
    result=$(wine "$drive" copy-all </dev/null)
    wine "$drive" exit </dev/null >/dev/null 2>&1 || kill "$program" 2>/dev/null
    wait "$program" 2>/dev/null || true
    same_as_card "window"
    window_s=$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' <<<"$result")
    printf '%s %s\n' "$(sed -n 's/.*unresponsive_ms=\([0-9.]*\).*/\1/p' <<<"$result")" \
        "$(sed -n 's/.*peak_working_set=\([0-9]*\).*/\1/p' <<<"$result")" >>"$state_file"
    fresh "$limit"
    start=$(date +%s.%N)
    wine "$here/dist/Brisling/BrislingCopy.exe" /ALL "$(winepath -w "$destination")" </dev/null >/dev/null 2>&1
    console_s=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN {print e - s}')
    same_as_card "console program"
    echo "$raw_s $fair_s $window_s $console_s"
}

# Unthrottled, where the PC is the limit, the median of several rounds; at a link's pace one.
measure() {
    local limit=$1 rounds=1
    [ "$limit" -eq 0 ] && rounds=${BENCH_ROUNDS:-5}
    state_file=$(mktemp) && local rows=()
    for _ in $(seq "$rounds"); do rows+=("$(round "$limit")"); done
    local raw_s fair_s window_s console_s
    raw_s=$(printf '%s\n' "${rows[@]}" | awk '{print $1}' | median)
    fair_s=$(printf '%s\n' "${rows[@]}" | awk '{print $2}' | median)
    window_s=$(printf '%s\n' "${rows[@]}" | awk '{print $3}' | median)
    console_s=$(printf '%s\n' "${rows[@]}" | awk '{print $4}' | median)
    local unresponsive peak
    unresponsive=$(awk '{print $1}' "$state_file" | sort -n | tail -1)
    peak=$(awk '{print $2}' "$state_file" | sort -n | tail -1)
    rm -f "$state_file"
    local label="unthrottled ($rounds rounds, medians)"
    [ "$limit" -gt 0 ] && label="$(awk -v l="$limit" 'BEGIN {print (l >= 1e6 ? l / 1e6 " MB/s" : l / 1e3 " KB/s")}') link"
    printf '| %s | %s | %s | %s | %s | %.2f | %.2f | %s ms | %.1f MB (%.2f × largest file) |\n' "$label" \
        "$(rate_of "$raw_s")" "$(rate_of "$fair_s")" "$(rate_of "$window_s")" "$(rate_of "$console_s")" \
        "$(awk -v f="$fair_s" -v p="$window_s" 'BEGIN {print f / p}')" \
        "$(awk -v r="$raw_s" -v p="$window_s" 'BEGIN {print r / p}')" "$unresponsive" \
        "$(awk -v p="$peak" 'BEGIN {print p / 1048576}')" "$(awk -v p="$peak" -v l="$largest" 'BEGIN {print p / l}')"
}

echo "card: $files files, $(awk -v b="$payload" 'BEGIN {printf "%.1f", b / 1e6}') MB, largest file $(awk -v l="$largest" 'BEGIN {printf "%.2f", l / 1e6}') MB"
echo
echo "| link | raw rate (MB/s) | fair limit (MB/s) | window (MB/s) | console program (MB/s) | window / fair limit | window / raw | window thread's longest answer | window's peak working set |"
echo "|---|---|---|---|---|---|---|---|---|"
for limit in ${BENCH_RATES:-0 2000000 500000}; do measure "$limit"; done
