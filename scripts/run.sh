#!/usr/bin/env bash
# Builds Plotvik (installing missing packages first) and starts the viewer. Where there is no
# display, the viewer starts on a virtual X server of its own, which is said on the way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
headless=""
# A platform chosen through QT_QPA_PLATFORM (offscreen, say) needs no X server.
if [ -z "${DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  headless=1
fi
"$root/scripts/setup.sh" run ${headless:+headless}
build_dir="$root/build/release"
"$root/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPLOTVIK_BUILD_TESTS=OFF
if [ ! -x "$build_dir/app/plotvik" ]; then
  echo "The viewer was not built: see the build output above." >&2
  exit 1
fi
if [ -n "$headless" ]; then
  echo "No display (DISPLAY is not set): the viewer starts on a virtual X server of its own" \
    "(xvfb-run -a), where nobody sees it; Ctrl+C ends it." >&2
  exec xvfb-run -a "$build_dir/app/plotvik" "$@"
fi
exec "$build_dir/app/plotvik" "$@"
