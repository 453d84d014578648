#!/usr/bin/env bash
# The step cursor in the real window: Left and Right (Shift by 10), Home and End step it through
# the current page's points, and the value tip's window reads the whole step; the record stays
# when the page changes; with the focus on the page tabs the keys still step and turn no page;
# Esc, a mouse button on the chart and a new load hide it, and the chart is as before.
#
# Usage: step_cursor_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_start_server

"$render" "$fixture" "$work/plain" || fail "plotvik-render exited with $?"
e2e_start_app "$fixture"
focus_window
wait_for_chart "$work/plain/swr.png" "the plain swr.png"
step_tip=""
step_tip_reads() {
  step_tip=$(xdotool search --onlyvisible --name '^Id ' 2>/dev/null | head -n1)
  [ -n "$step_tip" ] && [ "$(xdotool getwindowname "$step_tip")" = "$1" ]
}
step_tip_gone() { ! xdotool search --onlyvisible --name '^Id ' >/dev/null 2>&1; }
third="Id 3  Val 7  height 7  R 64.906  jX -1.502  SWR 1.301  Ga 7.58  F/B 14.1  Elevation 33"
first="Id 1  Val 6  height 6  R 58.12  jX -12.404  SWR 1.412  Ga 7.31  F/B 11.2  Elevation 38"
last="Id 12  Val 11.5  height 11.5  R 61.401  jX 42.73  SWR 2.448  Ga 7.72  F/B 12.84  Elevation 21.5"
xdotool key Right Right Right
poll step_tip_reads "$third" || fail "after three steps the tip does not read '$third'"
wait_for_chart_change "$work/plain/swr.png" "the step cursor draws no line"
# The record stays when the page changes: the R page reads the same step.
xdotool key ctrl+Tab
poll step_tip_reads "$third" || fail "on the next page the tip does not read '$third'"
xdotool key shift+Right
poll step_tip_reads "$last" || fail "Shift+Right does not go to the last record"
xdotool key Home
poll step_tip_reads "$first" || fail "Home does not go to the first record"
xdotool key Escape
poll step_tip_gone || fail "Esc leaves the step's tip"
wait_for_chart "$work/plain/r.png" "r.png after Esc"

# With the focus on the page tabs the keys still step the cursor and turn no page.
xdotool key ctrl+shift+Tab
wait_for_chart "$work/plain/swr.png" "the plain swr.png again"
xdotool mousemove --window "$window" $((chart_x + 15)) $((chart_y - 14)) click 1
xdotool mousemove --window "$window" 1 1
xdotool key End
poll step_tip_reads "$last" || fail "End does not step with the focus on the tabs"
xdotool key Left
xdotool key Escape
poll step_tip_gone || fail "Esc leaves the step's tip"
wait_for_chart "$work/plain/swr.png" "swr.png: an arrow key turned the page"

# A mouse button on the chart hides the cursor; so does a new load.
xdotool key Right
poll step_tip_reads "$first" || fail "Right after Esc does not start at the first record"
xdotool mousemove --window "$window" $((chart_x + width / 2)) $((chart_y + 10)) click 1
xdotool mousemove --window "$window" 1 1
poll step_tip_gone || fail "a mouse button leaves the step's tip"
focus_window
xdotool key Right
poll step_tip_reads "$first" || fail "Right does not show the cursor again"
open_through_dialog "$fixture"
focus_window
poll step_tip_gone || fail "a new load leaves the step's tip"
wait_for_chart "$work/plain/swr.png" "swr.png after the new load"
exit_through_menu
echo "PASS"
