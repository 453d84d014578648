#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build/fuzz and runs each for $1 seconds (default
# 60), starting from the importer's fixture files. A crash stops the script with the failing
# input saved under build/fuzz/crashes/; copy it to tests/data/import_fuzz_* as a regression case.
# The fuzz build always treats warnings as errors: it is the only clang build, so it is where
# clang's warnings would otherwise go unseen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/setup.sh" fuzz
build_dir="$root/build/fuzz"
# Qt is kept from the configuration: a build without the window must not need it.
PLOTVIK_WERROR=ON PLOTVIK_SANITIZE=OFF "$root/scripts/build.sh" "$build_dir" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON \
  -DPLOTVIK_FUZZ=ON -DPLOTVIK_BUILD_GUI=OFF -DPLOTVIK_BUILD_TESTS=OFF -DPLOTVIK_BUILD_BENCH=OFF
mkdir -p "$build_dir/crashes"
for name in parse_line load_file; do
  corpus="$build_dir/corpus/$name"
  mkdir -p "$corpus"
  cp -n "$root"/tests/data/import_* "$corpus"/ 2>/dev/null || true
  echo "== fuzz_$name for ${seconds}s"
  log="$build_dir/fuzz_$name.log"
  if ! "$build_dir/fuzz/fuzz_$name" "$corpus" -max_total_time="$seconds" -max_len=4096 \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build_dir/crashes/${name}-" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$name failed; the input is in $build_dir/crashes/" >&2
    exit 1
  fi
  grep -E "^(Done|stat::number_of_executed_units|stat::new_units_added)" "$log" || tail -n 3 "$log"
done
