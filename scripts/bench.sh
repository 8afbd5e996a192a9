#!/bin/sh
# All benchmarks, printed; nothing here fails on a number (the aims are printed beside).
#   1. heap of one diskette write, and the dialog's response during a slow write
#      (host build without sanitizers, build/bench)
#   2. start-up time under Wine against a bare Win32 dialog, and VFLASH.EXE's size
#   3. the diskette start-up program's size
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BENCH=${BENCH_BUILD:-$ROOT/build/bench}

cmake -S "$ROOT" -B "$BENCH" -DCMAKE_BUILD_TYPE=Release -DVFLASH_SANITIZE=none \
      -DVFLASH_TEST_DIRS= >/dev/null
cmake --build "$BENCH" -j "$(nproc)" --target benchmarks >/dev/null
echo "== host: heap and dialog response =="
"$ROOT/bench/run.sh" "$BENCH"

echo "== Windows: start-up time and size =="
"$ROOT/scripts/bench-startup.sh"

echo "== diskette: start-up program =="
startup=$(find "$BENCH/res/diskette" -name STARTUP.BIN | head -1)
[ -n "$startup" ] && echo "STARTUP.BIN: $(stat -c %s "$startup") bytes"
