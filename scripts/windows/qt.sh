#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source, with Debian's MinGW-w64, and
# prints the prefix it installed to. The build takes long once (about half an hour on two cores),
# so it is kept outside the clone, in a folder named by Qt's version and a hash of everything
# that shapes it; a second run finds it and costs nothing.
# Environment: PLOTVIK_CACHE (default ~/.cache/plotvik) is where the built Qt is kept (cache.sh).
set -euo pipefail
source "$(dirname "$0")/cache.sh"

# The host Qt (moc, rcc, uic) is the installed Linux one, so the source must be its version.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
options=(
  -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_testlib=OFF -DFEATURE_xml=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_freetype=ON
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_vulkan=OFF
  # The source carries no wintab header.
  -DFEATURE_tabletevent=OFF
  # OpenGL stays on (the default, loaded at run time on Windows): 6.4's windows platform
  # plugin does not build without it.
)
cache_prefix qt "$qt_version" "${options[@]}"
cache_found

mkdir -p "$work"
if [ ! -d "$work/src" ]; then
  echo "Fetching Debian's qt6-base $qt_version source" >&2
  rm -rf "$work/fetch"
  mkdir -p "$work/fetch"
  (cd "$work/fetch" && apt-get source --download-only "qt6-base=$qt_version" >"$log_dir/qt-fetch.log" 2>&1) || {
    tail -20 "$log_dir/qt-fetch.log" >&2
    exit 1
  }
  (cd "$work/fetch" && dpkg-source --no-check -x ./*.dsc src >>"$log_dir/qt-fetch.log" 2>&1)
  mv "$work/fetch/src" "$work/src"
  rm -rf "$work/fetch"
fi

log="$log_dir/qt-build.log"
echo "Building Qt $qt_version for Windows in $work (log: $log); this takes 35-40 minutes on two cores, once" >&2
if [ ! -f "$work/build/build.ninja" ]; then
  cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${options[@]}" >"$log" 2>&1 || {
    tail -40 "$log" >&2
    echo "Configuring Qt for Windows failed (log: $log)" >&2
    exit 1
  }
fi
# Ninja's status line, one a step, thinned to one line in fifty, is the progress shown.
set +e
NINJA_STATUS='[%f/%t] ' cmake --build "$work/build" -j "$(nproc)" 2>&1 | tee -a "$log" |
  awk '/^\[[0-9]+\/[0-9]+\]/ { gsub(/[][]/, "", $1); split($1, n, "/"); if (n[1] % 50 == 0 || n[1] == n[2]) { print "Qt for Windows: step " n[1] " of " n[2]; fflush() } }' >&2
built=${PIPESTATUS[0]}
set -e
if [ "$built" -ne 0 ]; then
  tail -40 "$log" >&2
  echo "Building Qt for Windows failed (log: $log)" >&2
  exit 1
fi
cmake --install "$work/build" >>"$log" 2>&1
cache_complete
