#!/bin/sh
# Pictures of VFLASH.EXE under Wine for the documentation: docs/dialog.png, the main dialog
# with its drive report, and docs/about.png, the About box over it. The program runs in a 640x480
# Wine desktop on a private X display; each picture is cut to the dialog's own rectangle.
#
# Usage: scripts/screenshot.sh [WIN64_BUILD_DIR]   (default build/win64: VFLASH.EXE, UIAUTO.EXE)
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build/win64}
. "$ROOT/tests/wine/lib.sh"
. "$ROOT/tests/wine/texts.sh"
wine_need win64 "$BUILD/VFLASH.EXE" "$BUILD/UIAUTO.EXE"
DESKTOP=vflash,640x480
DIALOG="VELMORA FLASH"
ABOUT="About VELMORA FLASH"

wine_begin win64 || exit 1
wine_version winxp
# Every program of the prefix opens in the same Wine desktop, so the client sees the dialog.
timeout "$WINE_TIMEOUT" "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v vflash \
    /d 640x480 /f </dev/null >/dev/null 2>&1
timeout "$WINE_TIMEOUT" "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d vflash /f \
    </dev/null >/dev/null 2>&1
uiauto() {
    wine_run_out "$BUILD/UIAUTO.EXE" "$@"
    status=$?
    cat "$WORK/out.txt"
    return $status
}
# Cuts the dialog's rectangle out of the screen (the Wine desktop sits at the origin).
shoot() {
    geometry=$(sed -n 's/^rect \([0-9-]*\) \([0-9-]*\) \([0-9]*\) \([0-9]*\)$/\3x\4+\1+\2/p' \
        "$WORK/out.txt")
    [ -n "$geometry" ] || { echo "no rectangle for $2" >&2; return 1; }
    sleep 1  # let the last paint land
    import -window root -crop "$geometry" +repage -strip "$1" &&
        echo "wrote $1 ($geometry)"
}

wine_start explorer /desktop=$DESKTOP "$BUILD/VFLASH.EXE"
uiauto wait-text "$DIALOG" 1000 "$NO_DRIVE_REPORT" 30000 rect "$DIALOG" || exit 1
shoot "$ROOT/docs/dialog.png" "$DIALOG" || exit 1
# The About box opens centred over the main dialog: the picture shows both.
uiauto syscommand "$DIALOG" 16 wait "$ABOUT" 10000 rect "$DIALOG" || exit 1
shoot "$ROOT/docs/about.png" "$ABOUT" || exit 1
uiauto press "$ABOUT" OK gone "$ABOUT" 10000 close "$DIALOG" gone "$DIALOG" 10000 >/dev/null
