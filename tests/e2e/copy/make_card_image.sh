#!/bin/sh
# Builds the memory-card image of the whole-card copy test with Debian's dosfstools and mtools,
# and beside it the same tree extracted by mtools itself: the outside reference the copy is
# compared with. Usage: make_card_image.sh OUTPUT_FOLDER
# OUTPUT_FOLDER/card.img and OUTPUT_FOLDER/reference/ appear together or not at all.
set -eu
out=$1
work="$out.work"
rm -rf "$work"
mkdir -p "$work/data"
image="$work/card.img"
export MTOOLS_SKIP_CHECK=1

mkfs.fat -C -n CARD "$image" 4096 >/dev/null

# Upper-case 8.3 names only: mtools then writes plain short entries, which is what a camera
# writes and what the printer sends, so the extracted names are the card names.
mmd -i "$image" ::DCIM ::DCIM/100PHOTO ::DCIM/100PHOTO/SUB ::DCIM/EMPTYDIR ::DCIM/101PHOTO \
    ::MISC ::MISC/A ::MISC/A/B ::MISC/A/B/C ::MISC/EMPTY

n=0
put() {  # put SIZE CARD-PATH: random bytes, so that a shifted or repeated chunk cannot pass
    n=$((n + 1))
    head -c "$1" /dev/urandom >"$work/data/$n"
    mcopy -i "$image" "$work/data/$n" "::$2"
}
put 777 README
put 0 EMPTY.TXT
put 5120 CHUNK.BIN
put 307201 DCIM/100PHOTO/IMG0001.JPG
put 12288 DCIM/100PHOTO/IMG0002.JPG
put 0 DCIM/100PHOTO/ZERO.JPG
put 5121 DCIM/100PHOTO/SUB/DEEP.DAT
put 150000 DCIM/101PHOTO/IMG0101.JPG
put 46126 DCIM/101PHOTO/IMG0102.JPG
put 1 MISC/A/B/C/LEAF.TXT
put 40960 MISC/NOTES

mkdir "$work/reference"
mcopy -s -n -i "$image" "::/*" "$work/reference/"
rm -rf "$work/data"

rm -rf "$out"
mv "$work" "$out"
