#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all (or those matching $1 as a filter),
# then plotvik-render side by side with gnuplot (bench/render_vs_gnuplot.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run bench

build_dir="$root/build/bench"
"$root/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPLOTVIK_BUILD_TESTS=OFF \
  -DPLOTVIK_BUILD_BENCH=ON
for b in "$build_dir"/bench/*_bench; do
  echo "== $(basename "$b")"
  "$b" ${1:+--benchmark_filter="$1"}
done
if [[ -z "${1:-}" || "render_vs_gnuplot" == *"$1"* ]]; then
  echo "== render_vs_gnuplot"
  "$root/bench/render_vs_gnuplot.sh" "$build_dir/tools/plotvik-render"
fi
