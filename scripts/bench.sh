#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all (or those matching $1 as a filter).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build_dir="$root/build/bench"
"$root/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPLOTVIK_BUILD_TESTS=OFF \
  -DPLOTVIK_BUILD_BENCH=ON
for b in "$build_dir"/bench/*_bench; do
  echo "== $(basename "$b")"
  "$b" ${1:+--benchmark_filter="$1"}
done
