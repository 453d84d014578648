#!/usr/bin/env bash
# Builds Plotvik with its invariant checks and runs the whole test suite (installing missing
# packages first). Environment: PLOTVIK_WERROR=ON, PLOTVIK_SANITIZE=ON as in CI;
# PLOTVIK_FUZZ_SECONDS=N also builds the fuzz targets with clang and runs each for N seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run test

suffix=""
[ "${PLOTVIK_SANITIZE:-OFF}" = "ON" ] && suffix="-san"
build_dir="$root/build/test$suffix"
"$root/scripts/build.sh" "$build_dir" -DPLOTVIK_BUILD_TESTS=ON -DPLOTVIK_CHECK_INVARIANTS=ON

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# A failing test must not keep the fuzz step from running: both verdicts are reported, and the
# script fails if either failed.
status=0
(cd "$build_dir" && ctest --output-on-failure -j "$(nproc)") || status=$?

if [ -n "${PLOTVIK_FUZZ_SECONDS:-}" ]; then
  "$root/scripts/fuzz.sh" "$PLOTVIK_FUZZ_SECONDS" || status=$?
fi
exit "$status"
