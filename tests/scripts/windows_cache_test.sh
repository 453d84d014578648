#!/usr/bin/env bash
# scripts/windows/qt.sh and freetype.sh in a copy of their folder, with the package tools faked:
# for Debian 12's Qt and FreeType and the toolchain file as it is, they must name the cache
# folders the builds already made. A different name rebuilds Qt for Windows, which takes the CI
# machine an hour or more: when options or the toolchain change on purpose, change the names
# here with them. With the cache empty each script starts a build in the work folder of that
# hash, stops at the first step that fails and then prints no prefix.
#
# Usage: windows_cache_test.sh SCRIPTS_WINDOWS_DIR
set -euo pipefail

source_dir=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-windows-cache.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

tree="$work/tree"
mkdir -p "$tree/scripts/windows" "$work/bin"
cp "$source_dir"/{cache.sh,qt.sh,freetype.sh,toolchain.cmake} "$tree/scripts/windows/"
printf '#!/usr/bin/env bash\nexit 0\n' >"$tree/scripts/setup.sh"
cp "$tree/scripts/setup.sh" "$tree/scripts/windows/deb-src.sh"
cat >"$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
case ${!#} in
  qt6-base-dev) printf '6.4.2+dfsg-10' ;;
  libfreetype6) printf '2.12.1+dfsg-5+deb12u4' ;;
  *) exit 1 ;;
esac
FAKE
# No source can be fetched: a build that starts fails at once.
printf '#!/usr/bin/env bash\necho "E: no sources here" >&2\nexit 100\n' >"$work/bin/apt-get"
chmod +x "$tree/scripts/setup.sh" "$tree/scripts/windows/"*.sh "$work/bin/"*
export PATH="$work/bin:$PATH"

expect_prefix() {
  local script=$1 folder=$2 hash=${2##*-}
  local cache="$work/cache-$script"
  # Found: printed, and nothing built.
  mkdir -p "$cache/$folder"
  touch "$cache/$folder/.complete"
  out=$(PLOTVIK_CACHE="$cache" "$tree/scripts/windows/$script.sh" 2>"$work/err") ||
    fail "$script.sh with its build cached failed: $(cat "$work/err")"
  [ "$out" = "$cache/$folder" ] || fail "$script.sh printed '$out', not '$cache/$folder'"
  [ "$(ls "$cache")" = "$folder" ] || fail "$script.sh made $(ls "$cache") beside its cache"
  # Missing: a build in the work folder of the same hash, which fails here.
  rm -rf "$cache"
  if out=$(PLOTVIK_CACHE="$cache" "$tree/scripts/windows/$script.sh" 2>"$work/err"); then
    fail "$script.sh succeeded without a source: '$out'"
  fi
  [ -z "$out" ] || fail "$script.sh printed '$out' for a failed build"
  ! grep -q "CMake Error" "$work/err" || fail "$script.sh went on to configure without a source"
  [ ! -e "$cache/$folder/.complete" ] || fail "$script.sh marked a failed build complete"
  [ -d "$cache/${script}-win64-build-$hash" ] ||
    fail "$script.sh built elsewhere than ${script}-win64-build-$hash: $(ls "$cache")"
}

expect_prefix qt qt-win64-6.4.2_dfsg_10-9b7db618d183
expect_prefix freetype freetype-win64-2.12.1_dfsg_5_deb12u4-fb77b48879b0

exit "$failed"
