#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all (or those matching $1 as a filter),
# then plotvik-render side by side with gnuplot (bench/render_vs_gnuplot.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

# Only the benchmarks need these: Google Benchmark, and gnuplot and hyperfine to measure the
# render tool against gnuplot.
missing=()
for p in libbenchmark-dev gnuplot-nox hyperfine; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

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
