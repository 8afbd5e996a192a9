#!/bin/sh
# Start-up time of VFLASH.EXE against the floor (tests/wine/floor: a bare Win32 program
# that shows the same dialog with the same final text, built the same way), under native
# 64-bit Wine on a private X display. UIAUTO starts each program and times from process
# creation to the dialog showing its complete text; the runs alternate, after one warm-up
# run of each, and the median of each is printed. Also prints the size of the shipped
# 32-bit VFLASH.EXE (already stripped by the link), with and without the diskette image
# it carries.
#
# Usage: scripts/bench-startup.sh [RUNS]   (default 9; needs make win)
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUNS=${1:-9}
WIN64=${WIN64_BUILD:-$ROOT/build/win64}
WIN32=${WIN32_BUILD:-$ROOT/build/win32}
HOST=${HOST_BUILD:-$ROOT/build/host}
. "$ROOT/tests/wine/lib.sh"
. "$ROOT/tests/wine/texts.sh"
wine_need win "$WIN64/VFLASH.EXE" "$WIN64/FLOOR.EXE" "$WIN64/UIAUTO.EXE" "$WIN32/VFLASH.EXE"

wine_begin win64 || exit 1
wine_version winxp

# One start, printed as milliseconds (nothing when it failed).
launch() {  # launch EXE CAPTION
    wine_run_out "$WIN64/UIAUTO.EXE" launch-time "$1" "$2" 1000 "$NO_DRIVE_REPORT" 30000
    sed -n 's/^ms //p' "$WORK/out.txt"
}
median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR) print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

launch "$WIN64/VFLASH.EXE" "VELMORA FLASH" >/dev/null
launch "$WIN64/FLOOR.EXE" FLOOR >/dev/null
: >"$WORK/vflash.ms"
: >"$WORK/floor.ms"
i=0
while [ $i -lt "$RUNS" ]; do
    launch "$WIN64/VFLASH.EXE" "VELMORA FLASH" >>"$WORK/vflash.ms"
    launch "$WIN64/FLOOR.EXE" FLOOR >>"$WORK/floor.ms"
    i=$((i + 1))
done
echo "start-up to complete text, native 64-bit Wine, median of $RUNS (ms):"
echo "  VFLASH.EXE  $(median <"$WORK/vflash.ms")   runs: $(tr '\n' ' ' <"$WORK/vflash.ms")"
echo "  FLOOR.EXE   $(median <"$WORK/floor.ms")   runs: $(tr '\n' ' ' <"$WORK/floor.ms")"

size=$(stat -c %s "$WIN32/VFLASH.EXE")
image=$HOST/res/diskette/DISKETTE.IMG
echo "build/win32/VFLASH.EXE: $size bytes stripped"
[ -f "$image" ] && echo "  of which the diskette image: $(stat -c %s "$image") bytes; the rest: $((size - $(stat -c %s "$image"))) bytes"
