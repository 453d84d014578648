#!/usr/bin/env bash
# Builds FreeType for 64-bit Windows from Debian's own freetype source, the version the Linux
# build links, so that chart text is drawn by the same glyph rasteriser on both systems. Prints
# the prefix it installed to; kept outside the clone like Qt, and built once.
set -euo pipefail
source "$(dirname "$0")/cache.sh"

ft_version=$(dpkg-query -W -f='${source:Version}' libfreetype6)
# Nothing but the TrueType and CFF drivers' own code: the compressed-font, PNG-glyph and shaping
# add-ons Debian links on Linux do not touch how an outline becomes pixels.
options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON)
cache_prefix freetype "$ft_version" "${options[@]}"
cache_found
log="$log_dir/freetype-build.log"
rm -rf "$work"
mkdir -p "$work"
echo "Building Debian's FreeType $ft_version for Windows (log: $log)" >&2
# Each step only after the one before succeeded: set -e does not reach into the group.
{
  (cd "$work" && apt-get source "freetype=$ft_version" && mv "$(find . -maxdepth 1 -type d -name 'freetype-*' | head -1)" src) &&
    cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
      -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" &&
    cmake --build "$work/build" -j "$(nproc)" &&
    cmake --install "$work/build"
} >"$log" 2>&1 || {
  tail -30 "$log" >&2
  echo "Building FreeType for Windows failed (log: $log)" >&2
  exit 1
}
cache_complete
