#!/bin/sh
# Runs the benchmarks of a build directory and prints what they measured.
#   bench/run.sh [BUILD_DIR]     (default build/host; build its `benchmarks` target first)
# Nothing here fails on a number: the aims are printed beside the results.
set -eu
dir="${1:-build/host}/bench"
"$dir/write_heap"
"$dir/dialog_latency"
