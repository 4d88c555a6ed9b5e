# Sourced by every script that starts Wine: the project's prefix (never ~/.wine), quiet Wine, and
# the loader this host can run.
#
# Debian's `wine` script starts the 32-bit loader whenever Wine's 32-bit part is installed, and a
# kernel without 32-bit emulation refuses it ("Exec format error") even for a 64-bit program. So
# the host is asked by running the 32-bit loader once; where it cannot run, the 64-bit loader
# serves every Wine command (scripts/wine64-only stands in for `wine` and for the `wine-stable`
# that wineboot, winepath and the other Wine tools call). BRISLING_HOST_32BIT=no forces that path.
wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-${BUILD_DIR:-$wine_env_root/build}/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
if [ -z "${BRISLING_HOST_32BIT:-}" ]; then
    if wine_env_answer=$(/usr/lib/wine/wine --version 2>&1); then
        BRISLING_HOST_32BIT=yes
    else
        BRISLING_HOST_32BIT=no
        BRISLING_HOST_32BIT_WHY="/usr/lib/wine/wine: ${wine_env_answer##*: }"
    fi
fi
export BRISLING_HOST_32BIT BRISLING_HOST_32BIT_WHY="${BRISLING_HOST_32BIT_WHY:-BRISLING_HOST_32BIT=$BRISLING_HOST_32BIT}"
if [ "$BRISLING_HOST_32BIT" = no ]; then
    export WINELOADER=/usr/lib/wine/wine64
    case ":$PATH:" in
        *":$wine_env_root/scripts/wine64-only:"*) ;;
        *) export PATH="$wine_env_root/scripts/wine64-only:$PATH" ;;
    esac
fi
