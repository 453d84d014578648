#!/usr/bin/env bash
# Where the session names no runtime folder (no XDG_RUNTIME_DIR: su, sudo, a chroot, CI), the
# three programs start and end as anywhere else: the tools' standard error carries their own
# messages and nothing else, the viewer says nothing about the folder, and nothing is left in
# the temporary folder, whether a program ends by itself, through File > Exit, by a signal or
# because the toolkit finds no display.
#
# Usage: quiet_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE PLOTVIK_CHECK BAD_FIXTURE
# (BAD_FIXTURE has a line that is not up to nine numbers)
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4
check=$5
bad=$6

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_start_server
unset XDG_RUNTIME_DIR
# A temporary folder of the test's own: whatever a program leaves shows up here.
mkdir -m 700 "$work/tmp"
export TMPDIR="$work/tmp"

left_nothing() {
  local leftovers
  leftovers=$(ls -A "$TMPDIR")
  [ -z "$leftovers" ] || fail "$1 left in the temporary folder: $leftovers"
}

# A tool run without a display: its status and its standard error, exactly.
tool_says() {
  local status_wanted=$1 err_wanted=$2 status=0
  shift 2
  env -u DISPLAY "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq "$status_wanted" ] ||
    fail "$* ended with status $status, not $status_wanted: $(cat "$work/err")"
  [ "$(cat "$work/err")" = "$err_wanted" ] ||
    fail "$* wrote on standard error: '$(cat "$work/err")', not '$err_wanted'"
  left_nothing "$*"
}
tool_says 0 "" "$check" "$fixture"
tool_says 1 "Invalid file format" "$check" "$bad"
tool_says 0 "" "$render" "$fixture" "$work/pictures"
tool_says 1 "Invalid file format" "$render" --ref "$fixture" "$bad" "$work/pictures"

# The viewer where there is no display at all: the toolkit gives up while it starts.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$plotvik" "$fixture" >/dev/null 2>&1 ||
  status=$?
[ "$status" -ne 0 ] || fail "plotvik without a display ended with status 0"
left_nothing "plotvik, started without a display,"

# The viewer, ended through its menu and then by a signal.
e2e_start_app "$fixture"
exit_through_menu
! grep -q 'XDG_RUNTIME_DIR\|QStandardPaths' "$work/plotvik.log" ||
  fail "the viewer speaks of the runtime folder: $(cat "$work/plotvik.log")"
left_nothing "plotvik, ended through File > Exit,"

e2e_start_app "$fixture"
kill -TERM "$app_pid"
wait "$app_pid" || true
app_pid=""
left_nothing "plotvik, ended by SIGTERM,"
echo "PASS"
