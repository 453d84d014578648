#!/usr/bin/env bash
# Builds the Debian package plotvik_VERSION_ARCH.deb with CPack from an optimised build made with
# Debian's hardening flags, installing the packaging tools first. Prints the package's path.
# Usage: scripts/package.sh [BUILD_DIR]   (build/package by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$root/build/package}
"$root/scripts/setup.sh" run package >&2

# Debian's flags alone decide the optimisation (build type None, as Debian's own CMake packages
# build); CPPFLAGS carries _FORTIFY_SOURCE. A package is never a sanitizer build, whatever the
# environment asks of the test builds.
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS) -DNDEBUG"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
PLOTVIK_SANITIZE=OFF "$root/scripts/build.sh" "$build_dir" -DCMAKE_BUILD_TYPE=None -DPLOTVIK_BUILD_TESTS=OFF \
  -DPLOTVIK_BUILD_BENCH=OFF >&2
rm -f "$build_dir"/plotvik_*.deb
(cd "$build_dir" && cpack -G DEB >&2)
ls "$build_dir"/plotvik_*.deb
