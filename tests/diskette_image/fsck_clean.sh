#!/bin/sh
# fsck.fat in read-only mode must find nothing at all: besides its exit status, any line
# other than the version banner and the summary is a complaint (it reports some problems,
# such as a differing FAT copy, and still exits 0).
#   fsck_clean.sh IMAGE [FSCK_FAT]
set -u
IMG="$1"
FSCK="${2:-fsck.fat}"
out=$("$FSCK" -n "$IMG" 2>&1)
rc=$?
echo "$out"
[ "$rc" -eq 0 ] || { echo "fsck.fat exited $rc"; exit 1; }
extra=$(echo "$out" | grep -v -e '^fsck.fat [0-9]' -e "^$IMG: [0-9]* files, [0-9]*/2847 clusters$")
[ -z "$extra" ] || { echo "unexpected fsck.fat output: $extra"; exit 1; }
