#!/bin/sh
# The whole chain, as a user would go through it: the program on the default simulated PC,
# every prompt answered OK, writes its diskette; that diskette then boots in QEMU, on a PC
# with the same Velmora drive, and its start-up program finds the drive and decides.
#
#   make_run_diskette_boots.sh VFLASH SCENARIO QEMU_REPORT_SH
set -eu
VFLASH="$1"; SCENARIO="$2"; REPORT="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Two answers: OK to the first prompt, OK to the reboot notice.
printf '\n\n' | timeout 120 "$VFLASH" "$SCENARIO" >run.log
cat run.log
grep -q "restart requested (ExitWindowsEx flags 0x2)" run.log
test "$(stat -c %s diskette-a.img)" -eq 1474560

sh "$REPORT" "$work/diskette-a.img" "$work/com1.log" \
    --hd ide.0 0 "VELMORA QR-2040A" QR31A409 \
    --hd ide.0 1 "ORBIS DM-8040A" OB214A07 \
    --expect "Primary master: \"VELMORA QR-2040A\", firmware \"QR31A409\"" \
    --expect "  Needs the firmware update." \
    --expect "Primary slave: \"ORBIS DM-8040A\", firmware \"OB214A07\"" \
    --expect "  Not a Velmora drive: left alone." \
    --expect "Finished. Remove the diskette, then turn the computer off and on again."
