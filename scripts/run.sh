#!/usr/bin/env bash
# Builds Plotvik (installing missing packages first) and starts the viewer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build_dir="$root/build/release"
"$root/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPLOTVIK_BUILD_TESTS=OFF
if [ -x "$build_dir/app/plotvik" ]; then
  exec "$build_dir/app/plotvik" "$@"
fi
echo "The viewer was not built: see the build output above." >&2
exit 1
