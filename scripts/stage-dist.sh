#!/usr/bin/env bash
# Stages the installed form of the program: what the installer puts in the install folder.
# Usage: stage-dist.sh BUILD_TREE FOLDER [LANGUAGE]   (English unless told)
set -euo pipefail
build="$1"
dist="$2"
language="${3:-en}"
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$dist"
cp "$build/src/Brisling.exe" "$build/src/BrislingCopy.exe" "$build/lang/$language/resource.dll" "$dist/"
cp "$here"/src/res/art/printer_8bit.bmp "$here"/src/res/art/monitor_8bit.bmp "$here"/src/res/art/kestrel_8bit.bmp "$dist/"
echo "staged $dist"
