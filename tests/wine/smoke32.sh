#!/bin/sh
# The shipped 32-bit VFLASH.EXE under 32-bit Wine. This machine runs 32-bit x86 code only
# through qemu's user-mode emulation, so for the run the kernel is told to start i386 ELF
# programs with qemu-i386-static (binfmt_misc); the registration is removed afterwards,
# whatever the outcome. Checks the drive report under winxp and the refusal under win98,
# and prints how long the run took.
#
# Usage: smoke32.sh VFLASH.EXE UIAUTO.EXE    (both from the win32 build; needs root)
set -u
VFLASH=$1
UIAUTO=$2
HERE=$(dirname "$0")
. "$HERE/lib.sh"
. "$HERE/texts.sh"
SKIP=77
wine_need win32 "$VFLASH" "$UIAUTO"
for f in /usr/lib/wine/wine /usr/lib/wine/wine-preloader /usr/bin/qemu-i386-static; do
    [ -x "$f" ] || { echo "missing $f (scripts/install-deps.sh)"; exit 1; }
done

BINFMT=/proc/sys/fs/binfmt_misc
BINFMT_NAME=
BINFMT_MOUNTED=

# An i386 handler that is already there (the system's own) is used as it is.
i386_handler_present() {
    for entry in "$BINFMT"/*; do
        [ -f "$entry" ] || continue
        grep -qx enabled "$entry" 2>/dev/null && grep -q 'qemu-i386' "$entry" && return 0
    done
    return 1
}

binfmt_begin() {
    if [ ! -e "$BINFMT/register" ]; then
        [ "$(id -u)" = 0 ] || { echo "SKIP: binfmt_misc not mounted and not root"; exit $SKIP; }
        mount -t binfmt_misc binfmt_misc "$BINFMT" || exit 1
        BINFMT_MOUNTED=1
    fi
    i386_handler_present && return 0
    [ "$(id -u)" = 0 ] || { echo "SKIP: no i386 handler and not root"; exit $SKIP; }
    BINFMT_NAME=vflash-i386-$$
    # ELF, 32-bit, little-endian, executable or shared object, machine i386. F: the
    # interpreter is opened now, so it serves every mount namespace.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s' ":$BINFMT_NAME:M::$magic:$mask:/usr/bin/qemu-i386-static:F" >"$BINFMT/register" ||
        { BINFMT_NAME=; exit 1; }
}

binfmt_end() {
    [ -n "$BINFMT_NAME" ] && [ -e "$BINFMT/$BINFMT_NAME" ] && echo -1 >"$BINFMT/$BINFMT_NAME"
    BINFMT_NAME=
    [ -n "$BINFMT_MOUNTED" ] && umount "$BINFMT" 2>/dev/null
    BINFMT_MOUNTED=
}

WINE_END_HOOK=binfmt_end
trap binfmt_end EXIT
binfmt_begin
start=$(date +%s)
# Every start is emulated: a cold one takes tens of seconds.
WINE_TIMEOUT=180
WINE_BOOT_TIMEOUT=300
wine_begin win32 || exit 1
echo "32-bit prefix ready after $(($(date +%s) - start)) s"

DIALOG="VELMORA FLASH"
failed=0
passed=0
while read -r version text; do
    eval "expected=\$$text"
    t0=$(date +%s)
    wine_version "$version"
    wine_start "$VFLASH"
    wine_run_out "$UIAUTO" wait-text "$DIALOG" 1000 "$expected" 120000 \
        key "$DIALOG" escape gone "$DIALOG" 60000
    wine_end_case "$UIAUTO" $? "$DIALOG" "$version ($text), $(($(date +%s) - t0)) s"
done <<'TABLE'
winxp  NO_DRIVE_REPORT
win98  REFUSAL
TABLE
echo "32-bit smoke run took $(($(date +%s) - start)) s"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
