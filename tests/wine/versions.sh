#!/bin/sh
# VFLASH.EXE under each Windows version that Wine can report: the versions it was made for
# list the drives (Wine's answer none); every other one is refused. Each case also closes the
# dialog a different way, and the program must end with exit code 0 each time.
#
# Usage: versions.sh VFLASH.EXE UIAUTO.EXE
set -u
VFLASH=$1
UIAUTO=$2
HERE=$(dirname "$0")
. "$HERE/lib.sh"
. "$HERE/texts.sh"
wine_need win "$VFLASH" "$UIAUTO"

wine_begin win64 || exit 1
DIALOG="VELMORA FLASH"
failed=0
passed=0
# version   expected text      how the user closes the dialog
while read -r version text closing; do
    eval "expected=\$$text"
    case $closing in
        escape) set -- key "$DIALOG" escape ;;
        close) set -- close "$DIALOG" ;;
        cancel) set -- cancel "$DIALOG" ;;
    esac
    wine_version "$version"
    wine_start "$VFLASH"
    wine_run_out "$UIAUTO" wait-text "$DIALOG" 1000 "$expected" 20000 "$@" \
        gone "$DIALOG" 10000
    wine_end_case "$UIAUTO" $? "$DIALOG" "$version ($text, $closing)"
done <<'TABLE'
nt40     NO_DRIVE_REPORT  escape
win2k    NO_DRIVE_REPORT  close
winxp    NO_DRIVE_REPORT  cancel
win98    REFUSAL          escape
win2003  REFUSAL          close
vista    REFUSAL          cancel
win7     REFUSAL          escape
TABLE
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
