#!/usr/bin/env bash
# make test, after the build: every test set this host can run, then one account of what ran.
#
# The emulator's own tests first, outside the Windows test environment (run inside it, they leave
# every later Wine start a second slower); then every Windows test at 24 bits per pixel, the
# 32-bit build's set where the host runs 32-bit programs, and the window's face again on an 8-bit
# palette display. The Windows tests run one at a time: they share one display (focus, real key
# input) and one LPT1.
#
# A test that skips itself fails the run: the only tests not run are those this host cannot run,
# and the end names each with the reason.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
# shellcheck source=wine-env.sh
. "$here/scripts/wine-env.sh"
log=$(mktemp "${TMPDIR:-/tmp}/brisling-tests.XXXXXX")
trap 'rm -f "$log"' EXIT
failed=()

run_set() {  # NAME COMMAND...
    local name=$1
    shift
    echo "== $name"
    "$@" 2>&1 | tee -a "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || failed+=("$name")
}

# The names of a build's tests, from the test programs of the 64-bit build (the same sources) with
# the 32-bit build's filters.
name_test_set() {  # SET-FILE
    local kind program filter
    while read -r kind program filter; do
        if [ "$kind" = test ]; then
            echo "  $program"
            continue
        fi
        "$here/cmake/wine-run.sh" "$build/win64/$program" --gtest_list_tests --gtest_filter="$filter" \
            </dev/null 2>/dev/null | tr -d '\r' |
            awk '/^[^ ]/ { suite = $1 } /^  / { print "  " suite $1 }'
    done <"$1"
}

run_set "emulator (native)" ctest --test-dir "$build/native" --output-on-failure -j2
run_set "64-bit program, high-colour display" "$here/scripts/test-env.sh" \
    ctest --test-dir "$build/win64" --output-on-failure -E '^Palette/'
if [ "$BRISLING_HOST_32BIT" = yes ]; then
    run_set "32-bit program" "$here/scripts/test-env.sh" \
        ctest --test-dir "$build/win32" --output-on-failure -L i686
else
    not_run=$(name_test_set "$build/win32/test-set.txt")
fi
run_set "64-bit program, palette display" env XVFB_SCREEN=1024x768x8 "$here/scripts/test-env.sh" \
    ctest --test-dir "$build/win64" --output-on-failure -R DisplayWindow

echo
skipped=$(grep -E '\*\*\*Skipped|\*\*\*Not Run|Disabled' "$log")
if [ -n "$skipped" ]; then
    echo "Skipped, which no test may be:"
    echo "$skipped"
    failed+=("skipped tests")
fi
if [ -n "${not_run:-}" ]; then
    echo "Not run: the 32-bit program's $(grep -c . <<<"$not_run") tests, as this host runs no 32-bit" \
        "programs ($BRISLING_HOST_32BIT_WHY):"
    echo "$not_run"
fi
# One closing line for the whole run, summed over the test sets.
awk '/tests passed, [0-9]+ tests failed out of/ { failed += $4; total += $NF }
     END { printf "total: %d passed, %d failed\n", total - failed, failed }' "$log"
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
