#!/bin/sh
# Builds the memory-card image of the whole-card copy with Debian's dosfstools and mtools, and
# beside it the same tree extracted by mtools itself (reference/), the outside reference of the
# copy, and the card's directory order (order: one line per folder "PATH/" or file "PATH SIZE",
# in the order written, which is each folder's order on the card). Usage: make_card_image.sh OUT
set -eu
out=$1
work="$out.work"
rm -rf "$work"
mkdir -p "$work/data"
image="$work/card.img"
export MTOOLS_SKIP_CHECK=1 PATH="$PATH:/sbin:/usr/sbin"

mkfs.fat -C -n CARD "$image" 4096 >/dev/null

# Upper-case 8.3 names only: mtools then writes plain short entries, as a camera does. Written
# out of sorted order, as a card is: the list must sort them.
folder() { mmd -i "$image" "::$1" && echo "$1/" >>"$work/order"; }
n=0
put() {  # put SIZE CARD-PATH: random bytes, so that a shifted or repeated chunk cannot pass
    n=$((n + 1))
    head -c "$1" /dev/urandom >"$work/data/$n"
    mcopy -i "$image" "$work/data/$n" "::$2" && echo "$2 $1" >>"$work/order"
}
folder MISC
put 777 README
folder DCIM
put 0 EMPTY.TXT
put 5120 CHUNK.BIN
folder DCIM/101PHOTO
folder DCIM/100PHOTO
folder DCIM/EMPTYDIR
folder DCIM/100PHOTO/SUB
put 307201 DCIM/100PHOTO/IMG0001.JPG
put 12288 DCIM/100PHOTO/IMG0002.JPG
put 0 DCIM/100PHOTO/ZERO.JPG
put 5121 DCIM/100PHOTO/SUB/DEEP.DAT
put 150000 DCIM/101PHOTO/IMG0101.JPG
put 46126 DCIM/101PHOTO/IMG0102.JPG
folder MISC/A
folder MISC/A/B
folder MISC/A/B/C
folder MISC/EMPTY
put 1 MISC/A/B/C/LEAF.TXT
put 40960 MISC/NOTES
# A folder with an extension, as a camera's maker may name one.
folder ALBUM.OLD
put 3000 ALBUM.OLD/IMG0201.JPG

mkdir "$work/reference"
mcopy -s -n -i "$image" "::/*" "$work/reference/"
rm -rf "$work/data"

rm -rf "$out"
mv "$work" "$out"
