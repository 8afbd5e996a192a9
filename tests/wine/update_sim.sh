#!/bin/sh
# The update path of the simulated Windows build under Wine: the real window system and
# message boxes, the simulated PC (no drive is touched, no restart happens). The user
# answers the two message boxes, the progress bar passes through formatting (< 50) and
# writing (> 50), the dialog closes, the restart is requested with EWX_REBOOT, and the
# diskette holds exactly the image that the program carries as a resource.
#
# Usage: update_sim.sh VFLASH.EXE(sim build) UIAUTO.EXE SCENARIO DISKETTE.IMG
set -u
VFLASH=$1
UIAUTO=$2
SCENARIO=$3
IMAGE=$4
HERE=$(dirname "$0")
. "$HERE/lib.sh"
for f in "$VFLASH" "$UIAUTO" "$SCENARIO" "$IMAGE"; do
    [ -f "$f" ] || { echo "missing $f (make win host)"; exit 1; }
done

wine_begin win64 || exit 1
# The simulated PC opens these through the C runtime: Windows paths, on Wine's Z: drive.
DISKETTE="$WORK/diskette-a.img"
head -c 1474560 /dev/zero >"$DISKETTE"
export VFLASH_DISKETTE_FILE="Z:$DISKETTE"
export VFLASH_SCENARIO="Z:$(realpath "$SCENARIO")"
export VFLASH_TRACE="Z:$WORK/trace.txt"

DIALOG="VELMORA FLASH"
CAPTION=VFLASH
NEED_UPDATE='You need to update code.\nClose all the application program before proceeding the next step.\nAnd then please insert empty floppy diskette.'
REBOOT='Please reboot your system with floppy diskette.'
wine_start "$VFLASH"
wine_run_out "$UIAUTO" wait "$DIALOG" 20000 box "$CAPTION" "$NEED_UPDATE" OK 20000 \
    gone "$CAPTION" 20000 watch "$DIALOG" 1001 "$CAPTION" 60000 box "$CAPTION" "$REBOOT" OK 20000 \
    gone "$DIALOG" 20000
uiauto=$?
# After a failed step the program may be waiting on a message box: the prefix's end stops it.
code=unknown
if [ $uiauto -eq 0 ]; then
    wine_wait
    code=$?
fi
cat "$WORK/out.txt"

failed=0
passed=0
check() {  # check NAME CONDITION...
    name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok   $name"
    else
        failed=$((failed + 1))
        echo "FAIL $name"
    fi
}
positions=$(sed -n 's/^positions//p' "$WORK/out.txt")
below_half() { for p in $positions; do [ "$p" -gt 0 ] && [ "$p" -lt 50 ] && return 0; done; return 1; }
above_half() { for p in $positions; do [ "$p" -gt 50 ] && [ "$p" -le 100 ] && return 0; done; return 1; }
restart_requested() { grep -q '^ExitWindowsEx code=0x2 ' "$WORK/trace.txt" 2>/dev/null; }

check "both message boxes answered and the dialog closed" [ $uiauto -eq 0 ]
check "program ended with exit code 0" [ "$code" = 0 ]
check "progress seen while formatting (0 < pos < 50)" below_half
check "progress seen while writing (50 < pos <= 100)" above_half
check "restart requested with EWX_REBOOT" restart_requested
check "diskette holds the image resource byte for byte" cmp -s "$DISKETTE" "$IMAGE"
if [ $failed -ne 0 ] && [ -f "$WORK/trace.txt" ]; then
    echo "trace:"
    sed 's/^/     /' "$WORK/trace.txt" | grep -v '^     DeviceIoControl\|^     WriteFile' | head -40
fi
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
