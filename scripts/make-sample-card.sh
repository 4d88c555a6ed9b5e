#!/usr/bin/env bash
# Makes a sample memory card in a host folder: camera folders with real JPEG photos, a nested
# folder, an empty folder and a file at the root.
set -euo pipefail
card="$1"
rm -rf "$card"
mkdir -p "$card/DCIM/100PHOTO/SUB" "$card/DCIM/101PHOTO" "$card/MISC/EMPTY"
photo() {  # name, colours, size, text
    convert -size "$3" "plasma:$2" -gravity south -font DejaVu-Sans -pointsize 28 -fill white -annotate +0+20 "$4" \
        -quality 88 "$1"
}
photo "$card/DCIM/100PHOTO/IMG00001.JPG" "skyblue-navy" 1280x960 "Harbour"
photo "$card/DCIM/100PHOTO/IMG00002.JPG" "orange-firebrick" 1280x960 "Sunset"
photo "$card/DCIM/100PHOTO/IMG00003.JPG" "forestgreen-yellow" 960x1280 "Meadow"
photo "$card/DCIM/100PHOTO/SUB/IMG00004.JPG" "gray-white" 800x600 "Fog"
photo "$card/DCIM/101PHOTO/IMG00101.JPG" "purple-pink" 1600x1200 "Lavender"
photo "$card/DCIM/101PHOTO/IMG00102.JPG" "gold-brown" 1600x1200 "Wheat"
printf 'Brisling sample card\r\n' > "$card/README.TXT"
printf 'Printed with the M-412\r\n' > "$card/MISC/NOTES.TXT"
echo "sample card in $card"
