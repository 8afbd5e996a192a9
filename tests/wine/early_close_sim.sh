#!/bin/sh
# Closing the main dialog while the update worker is busy, in the simulated Windows build
# under Wine: the real window system, with the real message boxes. The ending dialog must
# close the worker's open prompt itself, the worker must stop at its next step, and the
# program must end with exit code 0 without requesting a restart: the diskette was not
# written.
#
#   case 1: the dialog is closed while the first prompt is up (the dialog is disabled
#           then; the close comes as the taskbar's would, a posted WM_CLOSE);
#   cases 2 and 3: the prompt is answered OK, and the dialog is closed while the diskette
#           is being formatted (the bar past 20), then written (past 70).
#
# Usage: early_close_sim.sh VFLASH.EXE(sim build) UIAUTO.EXE SCENARIO
set -u
VFLASH=$1
UIAUTO=$2
SCENARIO=$3
HERE=$(dirname "$0")
. "$HERE/lib.sh"
wine_need "win host" "$VFLASH" "$UIAUTO" "$SCENARIO"

wine_begin win64 || exit 1
DIALOG="VELMORA FLASH"
CAPTION=VFLASH
NEED_UPDATE='You need to update code.\nClose all the application program before proceeding the next step.\nAnd then please insert empty floppy diskette.'
export VFLASH_SCENARIO="Z:$(realpath "$SCENARIO")"

failed=0
passed=0
run_case() {  # run_case LABEL UIAUTO-COMMANDS...
    label=$1
    shift
    DISKETTE="$WORK/diskette-a.img"
    head -c 1474560 /dev/zero >"$DISKETTE"
    rm -f "$WORK/trace.txt"
    export VFLASH_DISKETTE_FILE="Z:$DISKETTE"
    export VFLASH_TRACE="Z:$WORK/trace.txt"
    wine_start "$VFLASH"
    wine_run_out "$UIAUTO" wait "$DIALOG" 20000 "$@" gone "$CAPTION" 20000 gone "$DIALOG" 20000
    wine_end_case "$UIAUTO" $? "$DIALOG" "$label: the dialog and its prompt closed, exit code 0"
    if grep -q '^ExitWindowsEx' "$WORK/trace.txt" 2>/dev/null; then
        failed=$((failed + 1))
        echo "FAIL $label: a restart was requested for an unwritten diskette"
    elif [ ! -f "$WORK/trace.txt" ]; then
        failed=$((failed + 1))
        echo "FAIL $label: no trace was written (the program did not end normally)"
    else
        passed=$((passed + 1))
        echo "ok   $label: no restart requested"
    fi
    # The volume's last request is its closing, whatever step the close interrupted: no
    # lock outlives the program.
    last=$(grep 'device="A:"' "$WORK/trace.txt" 2>/dev/null | tail -1 | cut -d' ' -f1)
    if [ -z "$last" ] || [ "$last" = CloseHandle ]; then
        passed=$((passed + 1))
        state="was closed"
        [ -z "$last" ] && state="was never opened"
        echo "ok   $label: the diskette volume $state" \
             "($(grep -c '^WriteFile' "$WORK/trace.txt" 2>/dev/null) of 80 cylinders written)"
    else
        failed=$((failed + 1))
        echo "FAIL $label: the diskette volume's last request was $last, not its closing"
    fi
}

run_case "closed at the first prompt" \
    wait "$CAPTION" 20000 enabled "$DIALOG" 0 close "$DIALOG"
run_case "closed while the diskette is formatted" \
    box "$CAPTION" "$NEED_UPDATE" OK 20000 wait-pos "$DIALOG" 1001 20 20000 close "$DIALOG"
run_case "closed while the diskette is written" \
    box "$CAPTION" "$NEED_UPDATE" OK 20000 wait-pos "$DIALOG" 1001 70 20000 close "$DIALOG"

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
