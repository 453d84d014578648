#!/usr/bin/env bash
# Builds FreeType for 64-bit Windows from Debian's own freetype source, the version the Linux
# build links, so that chart text is drawn by the same glyph rasteriser on both systems. Prints
# the prefix it installed to; kept outside the clone like Qt, and built once.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${PLOTVIK_CACHE:-$HOME/.cache/plotvik}
log_dir="$root/build/windows"
mkdir -p "$cache" "$log_dir"

"$root/scripts/setup.sh" windows >&2
"$here/deb-src.sh" >&2

ft_version=$(dpkg-query -W -f='${source:Version}' libfreetype6)
# Nothing but the TrueType and CFF drivers' own code: the compressed-font, PNG-glyph and shaping
# add-ons Debian links on Linux do not touch how an outline becomes pixels.
options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON)
hash=$( (echo "$ft_version"; printf '%s\n' "${options[@]}"; cat "$here/toolchain.cmake") |
  sha256sum | cut -c1-12)
prefix="$cache/freetype-win64-${ft_version//[^A-Za-z0-9.]/_}-$hash"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
work="$cache/freetype-win64-build-$hash"
log="$log_dir/freetype-build.log"
rm -rf "$work"
mkdir -p "$work"
echo "Building Debian's FreeType $ft_version for Windows (log: $log)" >&2
{
  (cd "$work" && apt-get source "freetype=$ft_version" && mv "$(find . -maxdepth 1 -type d -name 'freetype-*' | head -1)" src)
  cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}"
  cmake --build "$work/build" -j "$(nproc)"
  cmake --install "$work/build"
} >"$log" 2>&1 || {
  tail -30 "$log" >&2
  echo "Building FreeType for Windows failed (log: $log)" >&2
  exit 1
}
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
