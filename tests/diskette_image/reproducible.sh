#!/bin/sh
# Repeats the whole chain that made the image (boot sector, every object of STARTUP.BIN,
# link, image) twice, in fresh directories, and wants the very same bytes each time.
#   reproducible.sh REBUILD_SCRIPT IMAGE
set -u
REBUILD="$1"; IMG="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for run in a b; do
    sh "$REBUILD" "$work/$run" >"$work/$run.log" 2>&1 || { cat "$work/$run.log"; echo "rebuild $run failed"; exit 1; }
    cmp "$IMG" "$work/$run/DISKETTE.IMG" || { echo "rebuild $run differs from $IMG"; exit 1; }
done
echo "two rebuilds are byte-identical to $IMG"
