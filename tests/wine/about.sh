#!/bin/sh
# The About box of VFLASH.EXE under Wine: the system-menu command opens it over the main
# dialog, which takes no input while it is up; Enter, Esc and its OK button each close it
# and give the main dialog back. Then the program still ends cleanly.
#
# Usage: about.sh VFLASH.EXE UIAUTO.EXE
set -u
VFLASH=$1
UIAUTO=$2
HERE=$(dirname "$0")
. "$HERE/lib.sh"
. "$HERE/texts.sh"
wine_need win "$VFLASH" "$UIAUTO"

wine_begin win64 || exit 1
wine_version winxp
DIALOG="VELMORA FLASH"
ABOUT="About VELMORA FLASH"
IDM_ABOUTBOX=16
wine_start "$VFLASH"
failed=0
passed=0
# The About box only once the program has finished its work and waits for the user.
wine_run_out "$UIAUTO" wait-text "$DIALOG" 1000 "$NO_DRIVE_REPORT" 20000 || {
    cat "$WORK/out.txt"
    exit 1
}

for closing in return escape button; do
    case $closing in
        return | escape) set -- key "$ABOUT" "$closing" ;;
        button) set -- press "$ABOUT" OK ;;
    esac
    if wine_run_out "$UIAUTO" syscommand "$DIALOG" $IDM_ABOUTBOX wait "$ABOUT" 10000 \
            find-text "$ABOUT" "VELMORA FLASH v0.1" 5000 enabled "$DIALOG" 0 \
            "$@" gone "$ABOUT" 5000 enabled "$DIALOG" 1; then
        passed=$((passed + 1))
        echo "ok   About box closed by $closing"
    else
        failed=$((failed + 1))
        echo "FAIL About box closed by $closing"
        sed 's/^/     /' "$WORK/out.txt"
    fi
done

if wine_run_out "$UIAUTO" close "$DIALOG" gone "$DIALOG" 10000 && wine_wait; then
    passed=$((passed + 1))
    echo "ok   program ends with exit code 0"
else
    failed=$((failed + 1))
    echo "FAIL program does not end cleanly"
    sed 's/^/     /' "$WORK/out.txt"
fi
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
