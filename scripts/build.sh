#!/usr/bin/env bash
# Configures and builds one build tree. Usage: scripts/build.sh BUILD_DIR [extra cmake args...]
# PLOTVIK_WERROR=ON and PLOTVIK_SANITIZE=ON in the environment switch those options on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
shift
# Configuring is quiet unless it fails; then its whole output says why.
mkdir -p "$build_dir"
log="$build_dir/configure.log"
if ! cmake -S "$root" -B "$build_dir" -G Ninja \
  -DPLOTVIK_WERROR="${PLOTVIK_WERROR:-OFF}" \
  -DPLOTVIK_SANITIZE="${PLOTVIK_SANITIZE:-OFF}" \
  "$@" >"$log" 2>&1; then
  cat "$log" >&2
  echo "Configuring $build_dir failed (output above, also in $log)" >&2
  exit 1
fi
cmake --build "$build_dir" -j "$(nproc)"
