#!/bin/sh
# mtools must read the root directory and show the volume label and every expected file.
#   mdir_lists.sh MDIR IMAGE NAME.EXT...
set -u
MDIR="$1"; IMG="$2"; shift 2
out=$(MTOOLS_SKIP_CHECK=1 "$MDIR" -i "$IMG" :: 2>&1) || { echo "$out"; echo "mdir failed"; exit 1; }
echo "$out"
echo "$out" | grep -q '^ Volume in drive : is VFLASH *$' || { echo "volume label missing"; exit 1; }
for f in "$@"; do
    base=${f%.*}; ext=${f#*.}
    echo "$out" | grep -q "^$base  *$ext  " || { echo "$f not listed"; exit 1; }
done
