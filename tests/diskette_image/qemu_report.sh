#!/bin/sh
# Boots a diskette image in QEMU with IDE devices whose identity is set on the command
# line, and checks the start-up program's report on COM1: every --expect line must be
# there, whole, in the order given.
#
#   qemu_report.sh IMAGE LOG [--hd BUS UNIT MODEL FIRMWARE]... [--cd BUS UNIT]...
#                  [--expect LINE]...
#
# BUS is ide.0 (primary) or ide.1 (secondary), UNIT 0 (master) or 1 (slave). No default
# devices are added (-nodefaults): without --hd/--cd the PC has no drive at all.
set -u
HERE=$(dirname "$0")
IMG="$1"; LOG="$2"; shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
expect="$work/expect"
: >"$expect"
n=0
set -- "$@" --end
while [ "$1" != --end ]; do
    case "$1" in
    --hd)
        n=$((n + 1))
        truncate -s 4M "$work/disk$n.raw"
        set -- "$@" -drive "if=none,id=d$n,file=$work/disk$n.raw,format=raw" \
            -device "ide-hd,drive=d$n,bus=$2,unit=$3,model=$4,ver=$5,serial=VFTEST$n"
        shift 5 ;;
    --cd)
        set -- "$@" -device "ide-cd,bus=$2,unit=$3"
        shift 3 ;;
    --expect)
        printf '%s\n' "$2" >>"$expect"
        shift 2 ;;
    *)
        echo "qemu_report.sh: unknown argument $1"; exit 2 ;;
    esac
done
shift  # --end; what is left are the QEMU arguments built above

sh "$HERE/run_qemu.sh" "$IMG" "$LOG" '^Finished\.' 60 -nodefaults "$@" || exit 1

# Each expected line, whole, after the one before it.
tr -d '\r' <"$LOG" | awk -v list="$expect" '
    BEGIN { while ((getline line < list) > 0) want[++n] = line; i = 1 }
    i <= n && $0 == want[i] { i++ }
    END {
        if (i <= n) { print "missing, or out of order: \"" want[i] "\""; exit 1 }
        print "all " n " expected lines found in order"
    }'
