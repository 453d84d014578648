#!/usr/bin/env bash
# The viewer on a screen scaled by 2, in a real X server of its own, started as `plotvik FILE`:
# each page must show, pixel for pixel, what `plotvik-render --scale 2` draws; a zoom drag and
# its undo work as at scale 1. Resting the mouse on a point shows a tip window beside it with
# the point's values, while the chart's own pixels stay as they were; moving away hides it. At
# scale 0.5 every page shows its whole chart shrunk, never smoothed.
#
# Usage: scale_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

# The designed window, doubled, placed where designed, doubled.
e2e_start_server 2600x1900
"$render" --scale 2 "$fixture" "$work/expected" || fail "plotvik-render --scale 2 exited with $?"
"$render" "$fixture" "$work/logical" || fail "plotvik-render exited with $?"

QT_SCALE_FACTOR=2 e2e_start_app "$fixture"
width=$((623 * 2))
height=$((379 * 2))

focus_window
check_every_page "$work/expected" " at scale 2"

# The same drag in logical pixels as at scale 1, given in the screen's pixels.
drag $((width / 4)) $((height / 4)) $((width * 3 / 4)) $((height * 3 / 4))
wait_for_chart_change "$work/expected/swr.png" "the zoom drag did not change the chart at scale 2"
drag $((width * 3 / 4)) $((height * 3 / 4)) $((width / 4)) $((height / 4))
wait_for_chart "$work/expected/swr.png" "swr.png after the undo at scale 2"

# A point's marker in the logical picture (red on the SWR page), its centre on the screen.
marker=$("$image_tool" marker "$work/logical/swr.png" 255 0 0) || fail "no marker on swr.png"
read -r mx my <<<"$marker"
xdotool mousemove --window "$window" $((chart_x + 2 * mx + 1)) $((chart_y + 2 * my + 1))
tip=""
tip_shown() {
  tip=$(xdotool search --onlyvisible --name '^height ' 2>/dev/null | head -n1)
  [ -n "$tip" ]
}
timeout=5
poll tip_shown || fail "no tip window while the mouse rests on a point"
text=$(xdotool getwindowname "$tip")
[[ "$text" =~ ^height\ [0-9.]+\ \ КСВ\ [0-9.]+$ ]] || fail "the tip reads '$text'"
eval "$(xdotool getwindowgeometry --shell "$tip")"
tip_x=$X tip_y=$Y tip_w=$WIDTH tip_h=$HEIGHT
eval "$(xdotool getwindowgeometry --shell "$window")"
point_x=$((X + chart_x + 2 * mx)) point_y=$((Y + chart_y + 2 * my))
((tip_x >= point_x && tip_x <= point_x + 60 && tip_y >= point_y && tip_y <= point_y + 60)) ||
  fail "the tip at $tip_x,$tip_y is not beside the point at $point_x,$point_y"
# The chart is unchanged everywhere but under the tip, which covers it on the screen.
shot "$work/screen.png"
"$image_tool" crop "$work/screen.png" "$chart_x" "$chart_y" "$width" "$height" "$work/chart.png"
"$image_tool" differ "$work/chart.png" "$work/expected/swr.png" \
  $((tip_x - X - chart_x)) $((tip_y - Y - chart_y)) "$tip_w" "$tip_h" >/dev/null ||
  fail "the chart's pixels changed while the tip shows"

# Away from every point the tip goes, and the whole chart is as drawn.
xdotool mousemove --window "$window" $((chart_x + 4)) $((chart_y + 4))
tip_gone() { ! tip_shown; }
poll tip_gone || fail "the tip stays after the mouse moved away"
timeout=20
wait_for_chart "$work/expected/swr.png" "swr.png after the tip"

exit_through_menu

# Below 1 the page shows its whole chart, every second pixel of each row and column. At 0.5 the
# page is 624 x 380: 623 x 379 has no whole number of screen pixels.
"$render" --size 624x380 "$fixture" "$work/even" || fail "plotvik-render exited with $?"
mkdir -p "$work/half"
for page in swr r jx gain fb elevation; do
  "$image_tool" halve "$work/even/$page.png" "$work/half/$page.png"
done
QT_SCALE_FACTOR=0.5 e2e_start_app "$fixture"
width=312
height=190
chart_x=""
chart_y=""
focus_window
check_every_page "$work/half" " at scale 0.5"
exit_through_menu
echo "PASS"
