#!/usr/bin/env bash
# `--version` on the viewer and both tools: "NAME VERSION" on standard output, status 0, and no
# display needed, the version being the one the build declares.
#
# Usage: version_e2e.sh VERSION PROGRAM...
set -euo pipefail

version=$1
shift
work=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-version.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for program in "$@"; do
  name=$(basename "$program")
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" --version \
    >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 0 ] || fail "$name --version ended with status $status: $(cat "$work/err")"
  [ "$(cat "$work/out")" = "$name $version" ] ||
    fail "$name --version printed '$(cat "$work/out")', not '$name $version'"
  [ ! -s "$work/err" ] || fail "$name --version wrote to standard error: $(cat "$work/err")"
done
echo "PASS"
