#!/usr/bin/env bash
# The installer as a user meets it, for one kind of Windows and one language: a silent install,
# the Add/Remove Programs entry, the first start from the start-menu shortcut (in the user's
# Pictures folder, titled in the chosen language), a small card copied through the window, and a
# silent uninstall that leaves the prefix as it was, but for the pictures the user copied.
#
#   installer_test.sh win64|win32 LANGUAGE SETUP.EXE SETUP-AMD64.EXE BUILD_TREE DRIVE.EXE VERSION
#
# Runs under scripts/test-env.sh. win64 is the test prefix; win32 is a 32-bit Windows prefix of
# its own beside it, on the same display and the same printer emulator. The installer shipped is a
# 32-bit program; where the host runs none, the same script built as a 64-bit program stands in.
set -uo pipefail
windows=$1 language=$2 setup=$3 setup_amd64=$4 build_tree=$5 drive_exe=$6 version=$7
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/brisling-installer.XXXXXX")
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
expect_eq() {  # WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || fail "$1: \"$2\", expected \"$3\""
}
wait_for() {  # SECONDS COMMAND...: true once the command succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

if [ "${BRISLING_HOST_32BIT:-yes}" = no ]; then
    [ "$windows" = win64 ] || { echo "a 32-bit Windows prefix needs 32-bit programs" >&2; exit 1; }
    echo "this host runs no 32-bit programs: testing the installer's 64-bit build"
    setup=$setup_amd64
fi
[ -f "$setup" ] || { echo "no installer at $setup: build it with make installer" >&2; exit 1; }
[ -n "${EMULATOR_CONTROL:-}" ] || { echo "run under scripts/test-env.sh" >&2; exit 1; }
main_lpt1=$WINEPREFIX/dosdevices/lpt1
view=/reg:64
if [ "$windows" = win32 ]; then
    export WINEPREFIX=$(dirname "$WINEPREFIX")/wineprefix-win32 WINEARCH=win32
    view=/reg:32
    "$here/scripts/wine-prefix.sh" || exit 1
    wineserver -p </dev/null >/dev/null 2>&1
fi
drive_c=$WINEPREFIX/drive_c
user=$(id -un)
pictures=$drive_c/users/$user/Pictures
shortcut="C:\\users\\$user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Brisling.lnk"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisling'
# English into the default folder, another language where the user says.
folder='C:\Program Files\Brisling'
[ "$language" = en ] || folder='C:\Brisling'
unix_path() { local path=${1#C:\\}; echo "$drive_c/${path//\\//}"; }
installed=$(unix_path "$folder")
cleanup() {
    # A failed run leaves nothing of the program behind for the tests after it.
    if [ $failures -gt 0 ]; then
        rm -rf "$installed" "$(unix_path "$shortcut")"
        for key in 'HKLM\SOFTWARE\KESTREL' "$entry"; do
            for any_view in /reg:32 /reg:64; do
                wine reg delete "$key" /f $any_view >/dev/null 2>&1 </dev/null
            done
        done
    fi
    if [ "$windows" = win32 ]; then
        wineserver -k 2>/dev/null
        rm -f "$WINEPREFIX/dosdevices/lpt1"
    fi
    rm -rf "$work" "${pictures:?}"/*
}
trap cleanup EXIT

# A small card, served by the running emulator.
mkdir -p "$work/card/DCIM/100PHOTO"
head -c 3000 /dev/urandom >"$work/card/DCIM/100PHOTO/IMG0001.JPG"
head -c 700 /dev/urandom >"$work/card/README.TXT"
exec 5<>"/dev/tcp/${EMULATOR_CONTROL%:*}/${EMULATOR_CONTROL#*:}"
printf 'reset\t--card-dir\t%s\n' "$work/card" >&5
read -r reply <&5
exec 5>&-
expect_eq "emulator reset" "${reply%$'\r'}" ok
# The program talks to the emulator through this prefix's LPT1.
[ "$windows" = win32 ] && ln -sfn "$(readlink "$main_lpt1")" "$WINEPREFIX/dosdevices/lpt1"

# What the uninstaller must restore: the files (but for the pictures folder and the temporary
# folders) and the machine's and the user's software settings (but for Wine's own and for what
# the shell notes of the user's work, such as the Open dialog's last folders).
registry() {  # KEY FILE [SUBKEY-TO-LEAVE-OUT...]
    local key=$1 out=$2
    shift 2
    wine reg export "$key" "$work/export.reg" $view /y >/dev/null 2>&1 </dev/null
    iconv -f utf-16 -t utf-8 "$work/export.reg" | tr -d '\r' | LEFT_OUT="$*" awk '
        /^\[/ {
            skip = 0
            n = split(ENVIRON["LEFT_OUT"], keys, " ")
            for (i = 1; i <= n; i++) skip += index($0, keys[i]) > 0
        }
        !skip' >"$out"
}
snapshot() {
    (cd "$drive_c" && find . -path ./users/*/Temp -prune -o -path ./windows/temp -prune -o \
        -path "./users/$user/Pictures" -prune -o -printf '%p %s\n' | sort) >"$work/$1.files"
    registry 'HKLM\Software' "$work/$1.machine" '\Software\Wine'
    registry 'HKCU\Software' "$work/$1.user" '\Software\Wine' '\CurrentVersion\Explorer'
}
registry_value() {  # KEY NAME
    wine reg query "$1" /v "$2" $view 2>/dev/null </dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
rm -rf "${pictures:?}"/*
snapshot before

# ---- Silent install
options=(/S "/LANGUAGE=$language")
[ "$language" = en ] || options+=("/D=$folder")
wine "$setup" "${options[@]}" </dev/null >"$work/setup.log" 2>&1 || fail "the installer ended with $?"
expect_eq "installed files" "$(ls "$installed" | tr '\n' ' ')" \
    "Brisling.exe Uninstall.exe kestrel_8bit.bmp monitor_8bit.bmp printer_8bit.bmp resource.dll "
cmp -s "$installed/Brisling.exe" "$build_tree/src/Brisling.exe" || fail "not this build's program"
cmp -s "$installed/resource.dll" "$build_tree/lang/$language/resource.dll" ||
    fail "not this build's $language language module"
expect_eq "SetupPath" "$(registry_value 'HKLM\SOFTWARE\KESTREL\Brisling' SetupPath)" "$folder"
expect_eq "DisplayName" "$(registry_value "$entry" DisplayName)" Brisling
expect_eq "DisplayVersion" "$(registry_value "$entry" DisplayVersion)" "$version"
expect_eq "Publisher" "$(registry_value "$entry" Publisher)" KESTREL
expect_eq "InstallLocation" "$(registry_value "$entry" InstallLocation)" "$folder"
expect_eq "UninstallString" "$(registry_value "$entry" UninstallString)" "\"$folder\\Uninstall.exe\""
quiet=$(registry_value "$entry" QuietUninstallString)
expect_eq "QuietUninstallString" "$quiet" "\"$folder\\Uninstall.exe\" /S"
size_kb=$(($(cat "$installed"/* | wc -c) / 1024))
expect_eq "EstimatedSize" "$(registry_value "$entry" EstimatedSize)" "$(printf '0x%x' $size_kb)"

# ---- First start from the shortcut, as a user opens it from the start menu, driven by the UI
# driver.
drive() { wine "$drive_exe" "$@" </dev/null; }
expected_title=$(tr -d '\r' <"$here/lang/$language/lang.rc" | sed -n 's/^ *3010 "\(.*\)"$/\1/p')
wine start "$shortcut" </dev/null >"$work/start.log" 2>&1 || fail "the shortcut did not start"
drive wait-ready || fail "the card's root was not listed"
expect_eq "title" "$(drive title | tr -d '\r')" "$expected_title"
drive copy-all >/dev/null || fail "the copy did not run"
diff -r "$work/card" "$pictures" >&2 || fail "the card was not copied into the user's pictures"
drive exit || fail "the program did not end on EXIT"

# ---- Silent uninstall, as Add/Remove Programs runs it.
uninstaller=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$quiet")
wine "$uninstaller" ${quiet#\"$uninstaller\"} </dev/null >"$work/uninstall.log" 2>&1 ||
    fail "the uninstaller ended with $?"
# It goes on from a copy in the temporary folder; its last step removes the entry.
uninstalled() { [ ! -e "$installed" ] && [ -z "$(registry_value "$entry" DisplayName)" ]; }
wait_for 60 uninstalled || fail "the uninstaller left the install folder or the entry"
snapshot after
for part in files machine user; do
    diff "$work/before.$part" "$work/after.$part" >&2 ||
        fail "the uninstaller left the prefix's $part changed"
done
diff -r "$work/card" "$pictures" >/dev/null || fail "the uninstaller touched the copied pictures"

[ $failures -eq 0 ] && echo "installed, started, copied and uninstalled: $windows, $language"
exit $((failures > 0))
