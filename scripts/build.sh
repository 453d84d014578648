#!/usr/bin/env bash
# Configures and builds one build tree. Usage: scripts/build.sh BUILD_DIR [extra cmake args...]
# PLOTVIK_WERROR=ON and PLOTVIK_SANITIZE=ON in the environment switch those options on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
shift
cmake -S "$root" -B "$build_dir" -G Ninja \
  -DPLOTVIK_WERROR="${PLOTVIK_WERROR:-OFF}" \
  -DPLOTVIK_SANITIZE="${PLOTVIK_SANITIZE:-OFF}" \
  "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
