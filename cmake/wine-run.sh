#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix (never ~/.wine).
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../scripts/wine-env.sh
. "$here/scripts/wine-env.sh"
[ -d "$WINEPREFIX/drive_c" ] || "$here/scripts/wine-prefix.sh" >/dev/null 2>&1
exec wine "$@"
