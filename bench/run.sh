#!/usr/bin/env bash
# Times Lettrix against two static C yardsticks on the same command lines and prints the
# ratios that the release must hold, with the peak memory of the largest run.
# Usage: bench/run.sh [build-folder]   (needs gcc, cmake, hyperfine, python3)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
build="${1:-$top/build-bench}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLETTRIX_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
for tool in nothing upper_each launch; do
  gcc -O2 -static -o "$work/$tool" "$here/$tool.c"
done
python3 "$here/make_args.py" "$work"

export LETTRIX="$build/Lettrix" WORK="$work"
python3 "$here/ratios.py"
"$build/bench/micro_bench" --benchmark_min_time=0.2
