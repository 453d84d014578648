#!/usr/bin/env bash
# Builds Plotvik for 64-bit Windows on this Linux machine and tests it under Wine: installs what
# it needs, builds Qt and FreeType for Windows once (kept outside the clone), cross-builds the
# three programs and the Windows test programs, runs them under Wine, and makes the installer and
# the zip. Its last two lines are the paths of those two files.
# Environment: PLOTVIK_WERROR=ON as in CI; PLOTVIK_CACHE as scripts/windows/qt.sh reads it;
# PLOTVIK_LINUX_BUILD, the Linux test build whose programs the Windows ones are compared with
# (default build/test, as scripts/test.sh makes it; built here when missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
step() { echo "== $* ($(date -u +%T))" >&2; }

step "Packages for the Windows build"
./scripts/setup.sh windows
step "Qt for Windows"
qt=$(./scripts/windows/qt.sh)
step "FreeType for Windows"
freetype=$(./scripts/windows/freetype.sh)

build=build/windows/plotvik
step "Cross-building Plotvik for Windows in $build"
./scripts/build.sh "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/plotvik-toolchain.cmake" \
  -DPLOTVIK_WINDOWS_PREFIXES="$qt;$freetype" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$qt;$freetype" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/windows/wine-run.sh" \
  -DPLOTVIK_BUILD_TESTS=ON

# The Linux programs the Windows ones are compared with, and the picture tool of the window tests.
linux_build=$(realpath -m "${PLOTVIK_LINUX_BUILD:-$root/build/test}")
if [ ! -x "$linux_build/tools/plotvik-render" ] || [ ! -x "$linux_build/tests/e2e/plotvik_e2e_image" ]; then
  step "Linux programs to compare with, in $linux_build"
  ./scripts/setup.sh run test
  if [ ! -f "$linux_build/build.ninja" ]; then
    ./scripts/build.sh "$linux_build" -DPLOTVIK_BUILD_TESTS=ON -DPLOTVIK_CHECK_INVARIANTS=ON
  else
    cmake --build "$linux_build" --target plotvik-render plotvik-check plotvik_e2e_image
  fi
fi

step "The Windows programs' folder"
rm -rf "$build/stage"
cmake --install "$build" --prefix "$build/stage" >/dev/null

step "Windows tests under Wine"
status=0
PLOTVIK_LINUX_BUILD="$linux_build" PLOTVIK_WINDOWS_STAGE="$root/$build/stage" \
  ctest --test-dir "$build" --output-on-failure -j 1 || status=1

step "Installer and zip"
version=$(sed -n 's/^project(Plotvik .*VERSION \([0-9.]*\)).*/\1/p' CMakeLists.txt)
(cd "$build" && cpack -G NSIS -D CPACK_PACKAGE_FILE_NAME="plotvik-$version-win64-setup" >cpack-nsis.log 2>&1) || {
  tail -30 "$build/cpack-nsis.log" >&2
  exit 1
}
(cd "$build" && cpack -G ZIP -D CPACK_PACKAGE_FILE_NAME="plotvik-$version-win64" >cpack-zip.log 2>&1) || {
  tail -30 "$build/cpack-zip.log" >&2
  exit 1
}
setup="$root/$build/plotvik-$version-win64-setup.exe"
zip="$root/$build/plotvik-$version-win64.zip"

step "Installer under Wine: silent install, the installed check tool, silent uninstall"
tests/windows/installer_test.sh "$setup" || status=1

if [ "$status" -ne 0 ]; then
  echo "FAIL: the Windows tests failed (above)" >&2
  exit "$status"
fi
echo "$setup"
echo "$zip"
