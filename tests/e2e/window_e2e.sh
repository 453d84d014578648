#!/usr/bin/env bash
# The viewer driven the way a user drives it, in a real X server of its own:
#   Alt+Ф, О opens the file dialog; the fixture's path is typed, Enter loads it;
#   each page (Ctrl+Tab to the next) must show, pixel for pixel, what plotvik-render draws for
#   the same file; a left drag to the lower right must change the chart, the drag back must
#   restore it exactly; Alt+Ф, ы (File > Exit) must end the program with status 0.
#
# Usage: window_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_start_server

"$render" "$fixture" "$work/expected" || fail "plotvik-render exited with $?"

e2e_start_app

# At start every page is empty: the first one shows what plotvik-render draws for an empty file.
: >"$work/empty.txt"
"$render" "$work/empty.txt" "$work/empty" || fail "plotvik-render of an empty file exited with $?"
wait_for_chart "$work/empty/swr.png" "the empty swr.png"

open_through_dialog "$fixture"

focus_window
pages=(swr r jx gain fb elevation)
for i in "${!pages[@]}"; do
  if [ "$i" -gt 0 ]; then
    xdotool key ctrl+Tab
  fi
  wait_for_chart "$work/expected/${pages[$i]}.png" "${pages[$i]}.png"
done
# Once more round to the first page.
xdotool key ctrl+Tab
wait_for_chart "$work/expected/swr.png" "swr.png again"

# Zoom: a left drag to the lower right over the middle of the chart, then the drag back.
drag $((width / 4)) $((height / 4)) $((width * 3 / 4)) $((height * 3 / 4))
wait_for_chart_change "$work/expected/swr.png" "the zoom drag did not change the chart"
drag $((width * 3 / 4)) $((height * 3 / 4)) $((width / 4)) $((height / 4))
wait_for_chart "$work/expected/swr.png" "swr.png after the undo"

exit_through_menu
echo "PASS"
