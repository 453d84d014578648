#!/usr/bin/env bash
# `cmake --install` into a folder of its own: the viewer and both tools land in bin/ and run
# from there, the desktop entry (valid, opening one file with %f) in share/applications, and
# the icon it names in the icon theme's scalable folder.
#
# Usage: install_e2e.sh BUILD_DIR
set -euo pipefail

build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >"$prefix/install.log" ||
  fail "cmake --install failed: $(cat "$prefix/install.log")"

for program in plotvik plotvik-check plotvik-render; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
  "$prefix/bin/$program" --help >"$prefix/help.txt" 2>&1 ||
    fail "the installed $program --help failed: $(cat "$prefix/help.txt")"
done

entry="$prefix/share/applications/plotvik.desktop"
[ -f "$entry" ] || fail "share/applications/plotvik.desktop is not installed"
command -v desktop-file-validate >/dev/null || fail "missing desktop-file-validate (scripts/setup.sh installs it)"
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
grep -qx 'Exec=plotvik %f' "$entry" || fail "the desktop entry does not open one file with plotvik"
grep -qx 'Icon=plotvik' "$entry" || fail "the desktop entry does not name the plotvik icon"

icon="$prefix/share/icons/hicolor/scalable/apps/plotvik.svg"
[ -f "$icon" ] || fail "the icon is not installed"
grep -q '<svg' "$icon" || fail "the icon is no SVG picture"
echo "PASS"
