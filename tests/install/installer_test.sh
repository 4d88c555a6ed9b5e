#!/usr/bin/env bash
# The installer as a user meets it over an install's life, for one kind of Windows: an older
# version installed silently, in English into the default folder; this version over it in German
# into another folder; this version again without options, which keeps both; a silent uninstall.
# After each install the program starts from the start menu's shortcut, titled in the language
# installed, and copies a small card into the pictures of whoever starts it; while it runs, a
# silent install and a silent uninstall refuse and change nothing. After the uninstall and a
# restart of Windows the prefix is as it was, by content, but for the pictures the user copied.
#
#   installer_test.sh win64|win32 SETUP.EXE SETUP-AMD64.EXE BUILD_TREE DRIVE.EXE VERSION
#
# Runs under scripts/test-env.sh. win64 is the test prefix; win32 is a 32-bit Windows prefix of
# its own beside it, on the same display and the same printer emulator. The installer shipped is a
# 32-bit program; where the host runs none, the same script built as a 64-bit program stands in.
# The older version is the same script, built here with a lower version, beside BUILD_TREE.
set -uo pipefail
windows=$1 setup=$2 setup_amd64=$3 build_tree=$4 drive_exe=$5 version=$6
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
shortcut='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Brisling.lnk'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisling'
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
unix_path() { local path=${1#C:\\}; echo "$drive_c/${path//\\//}"; }
cleanup() {
    # A failed run leaves nothing of the program behind for the tests after it.
    if [ $failures -gt 0 ]; then
        for folder in 'C:\Program Files\Brisling' 'C:\Brisling'; do rm -rf "$(unix_path "$folder")"; done
        rm -f "$(unix_path "$shortcut")"
        for key in 'HKLM\SOFTWARE\KESTREL' "$entry"; do
            for any_view in /reg:32 /reg:64; do
                wine reg delete "$key" /f $any_view >/dev/null 2>&1 </dev/null
            done
        done
        wine reg add "$shell_folders" /v "My Pictures" /t REG_EXPAND_SZ /d '%USERPROFILE%\Pictures' /f \
            >/dev/null 2>&1 </dev/null
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

# What the uninstaller must restore: the files, by content (but for the pictures folder), and the
# machine's and the user's software settings (but for Wine's own and for what the shell notes of
# the user's work, such as the Open dialog's last folders and the pictures folder).
registry() {  # KEY FILE [SUBKEY-TO-LEAVE-OUT...]
    local key=$1 out=$2
    shift 2
    rm -f "$work/export.reg"
    wine reg export "$key" "$work/export.reg" $view /y >/dev/null 2>&1 </dev/null &&
        iconv -f utf-16 -t utf-8 "$work/export.reg" >"$work/export.txt" ||
        { fail "cannot export $key"; return; }
    tr -d '\r' <"$work/export.txt" | LEFT_OUT="$*" awk '
        /^\[/ {
            skip = 0
            n = split(ENVIRON["LEFT_OUT"], keys, " ")
            for (i = 1; i <= n; i++) skip += index($0, keys[i]) > 0
        }
        !skip' >"$out"
}
snapshot() {
    (cd "$drive_c" && find . -path "./users/$user/Pictures" -prune -o -type f -exec sha1sum {} + -o -print |
        sort) >"$work/$1.files"
    registry 'HKLM\Software' "$work/$1.machine" '\Software\Wine'
    registry 'HKCU\Software' "$work/$1.user" '\Software\Wine' '\CurrentVersion\Explorer'
}
expect_unchanged() {  # SNAPSHOT SNAPSHOT WHAT
    for part in files machine user; do
        diff "$work/$1.$part" "$work/$2.$part" >&2 || fail "$3 changed the prefix's $part"
    done
}
registry_value() {  # KEY NAME
    wine reg query "$1" /v "$2" $view 2>/dev/null </dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
# As Windows starts anew: what waits for a restart (the uninstaller's copy of itself) goes.
restart_windows() { wine wineboot -r </dev/null >/dev/null 2>&1 || fail "wineboot -r ended with $?"; }

install() {  # SETUP LANGUAGE FOLDER VERSION OPTION...: runs SETUP with the options, checks the install
    local setup=$1 language=$2 folder=$3 version=$4 installed
    shift 4
    installed=$(unix_path "$folder")
    wine "$setup" /S "$@" </dev/null >"$work/setup.log" 2>&1 || fail "the installer ($*) ended with $?"
    expect_eq "installed files" "$(ls "$installed" | tr '\n' ' ')" \
        "Brisling.exe BrislingCopy.exe Uninstall.exe kestrel_8bit.bmp monitor_8bit.bmp printer_8bit.bmp resource.dll "
    cmp -s "$installed/Brisling.exe" "$build_tree/src/Brisling.exe" || fail "not this build's program"
    cmp -s "$installed/BrislingCopy.exe" "$build_tree/src/BrislingCopy.exe" || fail "not this build's console program"
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
}

# The start from the shortcut, as a user opens it from the start menu, driven by the UI driver.
# That user's pictures are not where the installing user's were.
drive() { wine "$drive_exe" "$@" </dev/null; }
their_pictures='C:\users\'"$user"'\Pictures\Elsewhere'
start_program() {  # LANGUAGE
    local title
    title=$(tr -d '\r' <"$here/lang/$1/lang.rc" | sed -n 's/^ *3010 "\(.*\)"$/\1/p')
    rm -rf "${pictures:?}"/*
    mkdir -p "$(unix_path "$their_pictures")"
    wine reg add "$shell_folders" /v "My Pictures" /t REG_EXPAND_SZ /d "$their_pictures" /f \
        </dev/null >/dev/null 2>&1 || fail "cannot move the user's pictures"
    wine start "$shortcut" </dev/null >"$work/start.log" 2>&1 && drive wait-ready
    local started=$?
    wine reg add "$shell_folders" /v "My Pictures" /t REG_EXPAND_SZ /d '%USERPROFILE%\Pictures' /f \
        </dev/null >/dev/null 2>&1 || fail "cannot move the user's pictures back"
    [ $started -eq 0 ] || { fail "the shortcut did not start the program and list the card's root"; return 1; }
    expect_eq "title" "$(drive title | tr -d '\r')" "$title"
}
copy_and_exit() {
    drive --timeout 60000 copy-all >/dev/null || fail "the copy did not run"
    diff -r "$work/card" "$(unix_path "$their_pictures")" >&2 ||
        fail "the card was not copied into the pictures of the user who started the program"
    drive exit || fail "the program did not end on EXIT"
}

# The older version: this script, built with a lower version for the kind of installer tested.
older_setup=$work/BrislingSetup-older.exe
older_version="$((${version%%.*} - 1)).${version#*.}"
tree_of_windows=$(dirname "$build_tree")
target=-DOUTFILE
[ "$setup" = "$setup_amd64" ] && target=-DAMD64_OUTFILE
makensis -V1 -DWIN64_BUILD="$tree_of_windows/win64" -DWIN32_BUILD="$tree_of_windows/win32" \
    "$target=$older_setup" -DVERSION="$older_version" "$here/scripts/installer.nsi" >"$work/makensis.log" 2>&1 ||
    { cat "$work/makensis.log" >&2; fail "the older installer could not be built"; exit 1; }

rm -rf "${pictures:?}"/*
# A PC without Brisling: make run and make bench name their staged program in the shared prefix,
# which an install would take for an earlier one.
for bits in 32 64; do wine reg delete 'HKLM\SOFTWARE\KESTREL' /reg:$bits /f </dev/null >/dev/null 2>&1; done
restart_windows
snapshot before

# ---- The older version, English, into the default folder.
install "$older_setup" en 'C:\Program Files\Brisling' "$older_version"
start_program en && copy_and_exit

# ---- This version over it, in German, into another folder: the older install goes.
install "$setup" de 'C:\Brisling' "$version" /LANGUAGE=de '/D=C:\Brisling'
start_program de && copy_and_exit
expect_eq "the console program's listing of the card" \
    "$(wine 'C:\Brisling\BrislingCopy.exe' /LIST </dev/null 2>&1 | tr -d '\r' | awk '{print $NF}' | sort | tr '\n' ' ')" \
    "DCIM README.TXT "

# ---- Again, without options: the same folder, the same language. Neither an install nor an
# uninstall replaces the running program.
install "$setup" de 'C:\Brisling' "$version"
if start_program de; then
    snapshot running
    wine "$setup" /S </dev/null >"$work/setup.log" 2>&1
    expect_eq "the installer's exit code while the program runs" $? 32
    wine 'C:\Brisling\Uninstall.exe' /S '_?=C:\Brisling' </dev/null >"$work/uninstall.log" 2>&1
    expect_eq "the uninstaller's exit code while the program runs" $? 32
    snapshot refused
    expect_unchanged running refused "a refused install or uninstall"
    copy_and_exit
fi

# ---- Silent uninstall, as Add/Remove Programs runs it.
uninstaller=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$quiet")
wine "$uninstaller" ${quiet#\"$uninstaller\"} </dev/null >"$work/uninstall.log" 2>&1 ||
    fail "the uninstaller ended with $?"
# It goes on from a copy of itself in the temporary folder (Un.exe), which goes at the next restart.
uninstaller_ended() {
    local names
    names=$(wine wmic process get name </dev/null 2>/dev/null | iconv -f utf-16 -t utf-8 | tr -d '\r')
    grep -q '^Name' <<<"$names" && ! grep -qi '^un\.exe' <<<"$names"
}
wait_for 60 uninstaller_ended || fail "the uninstaller did not end"
restart_windows
snapshot after
expect_unchanged before after "the life from install to uninstall"
diff -r "$work/card" "$(unix_path "$their_pictures")" >/dev/null || fail "the uninstaller touched the copied pictures"

[ $failures -eq 0 ] && echo "installed, upgraded, reinstalled, started, copied, refused while running and uninstalled: $windows"
exit $((failures > 0))
