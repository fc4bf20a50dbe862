#!/bin/sh
# `make bench`: builds Morvane and its micro-benchmarks, makes the corpus, runs both comparisons.
# Usage: bench/run_bench.sh [BUILD_DIR]   (MORVANE_BENCH_DIR: where the corpus goes)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/${1:-build}"
work=${MORVANE_BENCH_DIR:-/tmp/morvane-bench}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_BENCH=ON >/dev/null
cmake --build "$build" -j 2 --target morvane morvane_bench

echo "== Engine micro-benchmarks (input bytes per second)"
"$build/bench/morvane_bench" --benchmark_min_time=0.3

echo
echo "== Whole program on the same files"
python3 "$root/bench/compare.py" "$build/morvane" "$work"
