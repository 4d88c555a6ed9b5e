#!/usr/bin/env bash
# Saves the README's pictures of the finished window after the root listing: docs/window-24.png
# on a high-colour display and docs/window-8.png on a palette display. The window's face test
# captures the window from inside Wine (an X-side capture cannot read Wine's colours on a palette
# display) into the bitmap file BRISLING_SCREENSHOT names, converted here. Needs the Windows
# build and the emulator (make win64 native).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
tests="$build/win64/tests/e2e/window_e2e_tests.exe"
work=$(mktemp -d "${TMPDIR:-/tmp}/brisling-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT

mkdir -p "$here/docs"
for depth in 24 8; do
    BRISLING_SCREENSHOT="$work/window-$depth.bmp" XVFB_SCREEN="1024x768x$depth" \
        "$here/scripts/test-env.sh" "$here/cmake/wine-run.sh" "$tests" \
        --gtest_filter='DisplayWindow.*'
    convert "$work/window-$depth.bmp" -strip "$here/docs/window-$depth.png"
    echo "saved docs/window-$depth.png"
done
