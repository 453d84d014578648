#!/usr/bin/env bash
# A file reaching the viewer from outside its menu, in a real X server of its own: started as
# `plotvik FILE`, the window must show FILE's charts as plotvik-render draws them; a missing
# FILE brings up the error box, centred on the screen.
#
# Usage: open_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_start_server
"$render" "$fixture" "$work/expected" || fail "plotvik-render exited with $?"

e2e_start_app "$fixture"
wait_for_chart "$work/expected/swr.png" "the named file's swr.png"

exit_through_menu

# A missing file: the error box comes up over the window, centred on the screen (1280x1024).
e2e_start_app "$work/no-such-sweep.txt"
box=""
error_box_shown() {
  box=$(xdotool search --onlyvisible --limit 1 --name '^plotvik$' 2>/dev/null)
  [ -n "$box" ]
}
poll error_box_shown || fail "no error box for a missing file"
geometry=$(xwininfo -id "$box")
box_x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$geometry")
box_y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$geometry")
box_w=$(sed -n 's/^ *Width: *//p' <<<"$geometry")
box_h=$(sed -n 's/^ *Height: *//p' <<<"$geometry")
# Equal margins on either side, give or take the odd pixel of an odd difference.
dx=$((box_x - (1280 - box_x - box_w)))
dy=$((box_y - (1024 - box_y - box_h)))
[ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] ||
  fail "error box at ${box_w}x${box_h}+${box_x}+${box_y}, not centred on the 1280x1024 screen"
focus_on "$box"
xdotool key Return
box_gone() { ! error_box_shown; }
poll box_gone || fail "Enter did not close the error box"
exit_through_menu
echo "PASS"
