# Sourced by the scripts that build a library for Windows once and keep it outside the clone
# (qt.sh, freetype.sh). Sets here, root, cache and log_dir, makes sure the packages and Debian's
# source entries are there, and offers:
#   cache_prefix NAME VERSION OPTION...  sets prefix, the folder NAME-win64-VERSION-HASH that the
#                                        build installs to, HASH covering the version, the options
#                                        and the toolchain, so that a change to any of them builds
#                                        anew; and work, the folder to build in;
#   cache_found                          prints the prefix and ends the script when a build of
#                                        it is complete;
#   cache_complete                       marks the prefix complete, removes the work folder and
#                                        prints the prefix.
# Environment: PLOTVIK_CACHE (default ~/.cache/plotvik) is where the builds are kept.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${PLOTVIK_CACHE:-$HOME/.cache/plotvik}
log_dir="$root/build/windows"
mkdir -p "$cache" "$log_dir"

"$root/scripts/setup.sh" windows >&2
"$here/deb-src.sh" >&2

cache_prefix() {
  local name=$1 version=$2
  shift 2
  local hash
  hash=$( (echo "$version"; printf '%s\n' "$@"; cat "$here/toolchain.cmake") |
    sha256sum | cut -c1-12)
  prefix="$cache/$name-win64-${version//[^A-Za-z0-9.]/_}-$hash"
  work="$cache/$name-win64-build-$hash"
}

cache_found() {
  if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
  fi
}

cache_complete() {
  touch "$prefix/.complete"
  # The source and objects are not needed once installed.
  rm -rf "$work"
  echo "$prefix"
}
