#!/usr/bin/env bash
# Saves the README's pictures of the finished window after the root listing: docs/window-24.png
# on a high-colour display, docs/window-8.png on a palette display and docs/window-de.png with the
# German language module. The window's face test captures the window from inside Wine (an X-side
# capture cannot read Wine's colours on a palette display) into the bitmap file BRISLING_SCREENSHOT
# names, converted here. Needs the Windows build and the emulator (make win64 native).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
tests="$build/win64/tests/e2e/window_e2e_tests.exe"
work=$(mktemp -d "${TMPDIR:-/tmp}/brisling-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT

shoot() {  # NAME DEPTH [LANGUAGE]
    BRISLING_LANGUAGE="${3:-en}" BRISLING_SCREENSHOT="$work/$1.bmp" XVFB_SCREEN="1024x768x$2" \
        "$here/scripts/test-env.sh" "$here/cmake/wine-run.sh" "$tests" --gtest_filter='DisplayWindow.*'
    convert "$work/$1.bmp" -strip "$here/docs/$1.png"
    echo "saved docs/$1.png"
}
mkdir -p "$here/docs"
shoot window-24 24
shoot window-8 8
shoot window-de 24 de
