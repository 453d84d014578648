#!/usr/bin/env bash
# The viewer driven the way a user drives it, in a real X server of its own:
#   Alt+Ф, О opens the file dialog; the fixture's path is typed, Enter loads it;
#   each page (Ctrl+Tab to the next) must show, pixel for pixel, what plotvik-render draws for
#   the same file; a left drag to the lower right must change the chart, the drag back must
#   restore it exactly; Alt+Ф, ы (File > Exit) must end the program with status 0.
# On the way: a wheel notch over the empty chart must not freeze its axis for the load after it;
# the wheel over the page tabs turns no page; and the program, run with empty home, settings,
# data and cache folders, opening and cancelling the dialog included, leaves them empty.
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

# The program writes no file: its folders start empty and must stay so.
user_dirs=("$work/home" "$work/config" "$work/data" "$work/cache")
mkdir -p "${user_dirs[@]}"
: >"$work/empty.txt"
"$render" "$work/empty.txt" "$work/empty" || fail "plotvik-render of an empty file exited with $?"

HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" e2e_start_app

# At start every page is empty: the first one shows what plotvik-render draws for an empty file.
wait_for_chart "$work/empty/swr.png" "the empty swr.png"

# A wheel notch each way over the empty chart: nothing to scroll, nothing changes.
xdotool mousemove --window "$window" $((chart_x + width / 2)) $((chart_y + height / 2))
xdotool click 5 click 4
wait_for_chart "$work/empty/swr.png" "the empty swr.png after the wheel"

# File > Open, cancelled.
dialog=""
dialog_shown() {
  dialog=$(xdotool search --onlyvisible --limit 1 --name '^Open$' 2>/dev/null)
  [ -n "$dialog" ]
}
dialog_gone() { ! xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1; }
choose_from_file_menu Cyrillic_o
poll dialog_shown || fail "File > Open shows no dialog"
# A key that comes before the dialog is ready to take it is lost, so Esc is pressed again until
# the dialog goes.
cancelled=""
for _ in 1 2 3 4 5; do
  focus_on "$dialog"
  xdotool key Escape
  saved_timeout=$timeout
  timeout=2
  if poll dialog_gone; then
    cancelled=yes
  fi
  timeout=$saved_timeout
  [ -n "$cancelled" ] && break
done
[ -n "$cancelled" ] || fail "Esc did not close the open dialog"

open_through_dialog "$fixture"

focus_window
check_every_page "$work/expected" ""

# The wheel over the tabs (just above the chart's page) turns no page.
xdotool mousemove --window "$window" $((chart_x + 15)) $((chart_y - 14))
xdotool click 5 click 5 click 4
sleep 0.3
wait_for_chart "$work/expected/swr.png" "swr.png after the wheel over the tabs"

# Zoom: a left drag to the lower right over the middle of the chart, then the drag back.
drag $((width / 4)) $((height / 4)) $((width * 3 / 4)) $((height * 3 / 4))
wait_for_chart_change "$work/expected/swr.png" "the zoom drag did not change the chart"
drag $((width * 3 / 4)) $((height * 3 / 4)) $((width / 4)) $((height / 4))
wait_for_chart "$work/expected/swr.png" "swr.png after the undo"

exit_through_menu
left=$(find "${user_dirs[@]}" -mindepth 1 2>/dev/null)
[ -z "$left" ] || fail "the program left files behind: $left"
echo "PASS"
