#!/usr/bin/env bash
# The viewer's command line as the shell sees it: what is not understood, or an option given
# twice, ends the program with status 2 and the usage line on standard error before any window
# opens; --help explains it on standard output and ends with status 0. Neither needs a desktop
# to connect to; the toolkit's own options stay accepted.
#
# Usage: command_line_e2e.sh PLOTVIK
set -euo pipefail

plotvik=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-cmdline.XXXXXX")
trap 'rm -rf "$work"' EXIT
# No desktop at all: the line must be decided before the toolkit looks for one.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work"
chmod 700 "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

usage="Usage: plotvik [--ref REF] [--follow] [--analysis] [--] [FILE]"
refused() {
  local status=0
  timeout 20 "$plotvik" "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 2 ] || fail "plotvik $* ended with status $status, not 2"
  [ ! -s "$work/out" ] || fail "plotvik $* wrote to standard output: $(cat "$work/out")"
  grep -qxF "$usage" "$work/err" ||
    fail "plotvik $* printed no usage line: $(cat "$work/err")"
}
refused a.txt b.txt
refused --bogus
refused -x a.txt
refused -- a.txt b.txt
refused ""
refused a.txt -platform
refused -platform offscreen --bogus
refused --ref a.txt --ref b.txt c.txt
refused --follow c.txt --follow

# A toolkit option with its value and a file: the viewer starts and runs until it is stopped.
status=0
timeout 5 "$plotvik" -platform offscreen -- -no-such-file.txt >"$work/out" 2>"$work/err" ||
  status=$?
[ "$status" -eq 124 ] ||
  fail "plotvik -platform offscreen FILE ended with status $status: $(cat "$work/err")"

status=0
timeout 20 "$plotvik" --help >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 0 ] || fail "plotvik --help ended with status $status: $(cat "$work/err")"
[ "$(head -n1 "$work/out")" = "$usage" ] ||
  fail "plotvik --help does not begin with the usage line: $(cat "$work/out")"
echo "PASS"
