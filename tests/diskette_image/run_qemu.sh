#!/bin/sh
# Boots a diskette image in QEMU, headless, and collects what the start-up program writes
# to COM1. The program never ends QEMU itself (see res/diskette/startup/realmode/Main.cpp
# for why it writes to no exit port): this script waits for the line that the program
# prints last, then stops the QEMU it started. Every run is bounded by LIMIT seconds.
#
#   run_qemu.sh IMAGE SERIAL_LOG LAST_LINE_REGEX LIMIT [extra QEMU arguments...]
#
# Exit status 0 when the last line arrived in time; otherwise 1, with the log printed.
set -u
IMG="$1"; LOG="$2"; LAST="$3"; LIMIT="$4"; shift 4
: >"$LOG"
start=$(date +%s%N)
# -snapshot: the image is a build product shared by several tests; nothing may change it.
timeout "$LIMIT" qemu-system-i386 -display none -monitor none -serial "file:$LOG" \
    -no-reboot -snapshot -boot order=a -drive "file=$IMG,if=floppy,format=raw" "$@" 2>"$LOG.stderr" &
qemu=$!
found=0
while kill -0 "$qemu" 2>/dev/null; do
    if grep -qE "$LAST" "$LOG"; then found=1; break; fi
    sleep 0.05
done
grep -qE "$LAST" "$LOG" && found=1
end=$(date +%s%N)
kill "$qemu" 2>/dev/null
wait "$qemu" 2>/dev/null
tr -d '\r' <"$LOG"
if [ "$found" -ne 1 ]; then
    cat "$LOG.stderr"
    echo "run_qemu.sh: no line matching '$LAST' within ${LIMIT}s"
    exit 1
fi
# For information only (tests never judge time): how long until the last line arrived.
echo "run_qemu.sh: last line after $(( (end - start) / 1000000 )) ms"
