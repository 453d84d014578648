#!/usr/bin/env bash
# The copy keys in the real window, read back from the X clipboard as another program would:
# Ctrl+C gives the current page's chart as image/png, equal to plotvik-render's picture of that
# page at the window's scale (1; 2 with a reference run and the analysis marks shown; 0.5);
# Ctrl+Shift+C gives the records as tab-separated text, the same records plotvik-check prints.
# Once the program ends the clipboard is empty again.
#
# Usage: copy_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE PLOTVIK_CHECK
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4
check=$5

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
command -v xclip >/dev/null || fail "missing xclip (scripts/setup.sh installs it)"

e2e_start_server 2600x1900
"$render" "$fixture" "$work/expected" || fail "plotvik-render exited with $?"
# The scaled run also shows a reference run and the analysis marks, which the copy takes along.
reference="$(dirname "$fixture")/pages_local_peak.txt"
"$render" --scale 2 --analysis --ref "$reference" "$fixture" "$work/expected2" ||
  fail "plotvik-render --scale 2 --analysis --ref exited with $?"

clipboard_targets() { xclip -selection clipboard -t TARGETS -o 2>/dev/null || true; }
# Presses the key and waits until the clipboard offers `type`, then writes its content to $3.
copy_with() {
  local key=$1 type=$2 out=$3
  : >"$out"
  offered() { clipboard_targets | grep -qx "$type"; }
  # The window must have the focus for its key.
  focus_window
  xdotool key "$key"
  poll offered || fail "$key put no $type on the clipboard (offered: $(clipboard_targets))"
  xclip -selection clipboard -t "$type" -o >"$out" || fail "cannot read $type back"
}

e2e_start_app "$fixture"
focus_window
wait_for_chart "$work/expected/swr.png" "swr.png"
xdotool key ctrl+Tab ctrl+Tab
wait_for_chart "$work/expected/jx.png" "jx.png"

copy_with ctrl+c image/png "$work/copied.png"
"$image_tool" differ "$work/copied.png" "$work/expected/jx.png" >/dev/null ||
  fail "Ctrl+C on the jX page did not copy plotvik-render's jx.png"

copy_with ctrl+shift+c UTF8_STRING "$work/copied.txt"
{
  printf 'Id\tVal\theight\tR\tjX\tSWR\tGa\tFB\tElevation\n'
  "$check" "$fixture" | sed -e 's/\bnull\b//g'
} >"$work/expected.txt" || fail "plotvik-check failed"
diff "$work/expected.txt" "$work/copied.txt" >"$work/records.diff" ||
  fail "Ctrl+Shift+C did not copy the records plotvik-check prints: $(cat "$work/records.diff")"

exit_through_menu
[ -z "$(clipboard_targets)" ] || fail "the clipboard still offers $(clipboard_targets) after the end"

# At scale 2 the copy is the picture as the screen shows it: every pixel a 2x2 block, the
# reference run and the analysis marks included.
QT_SCALE_FACTOR=2 e2e_start_app --analysis --ref "$reference" "$fixture"
width=$((623 * 2))
height=$((379 * 2))
chart_x=""
focus_window
wait_for_chart "$work/expected2/swr.png" "swr.png at scale 2"
copy_with ctrl+c image/png "$work/copied2.png"
"$image_tool" differ "$work/copied2.png" "$work/expected2/swr.png" >/dev/null ||
  fail "Ctrl+C at scale 2 did not copy plotvik-render --scale 2 --analysis --ref's swr.png"
exit_through_menu

# Below 1 the copy is the shrunk picture the page shows: at 0.5 every second pixel of the
# 624 x 380 chart the page then has.
"$render" --size 624x380 "$fixture" "$work/even" || fail "plotvik-render exited with $?"
"$image_tool" halve "$work/even/swr.png" "$work/half-swr.png"
QT_SCALE_FACTOR=0.5 e2e_start_app "$fixture"
width=312
height=190
chart_x=""
focus_window
wait_for_chart "$work/half-swr.png" "swr.png at scale 0.5"
copy_with ctrl+c image/png "$work/copied-half.png"
"$image_tool" differ "$work/copied-half.png" "$work/half-swr.png" >/dev/null ||
  fail "Ctrl+C at scale 0.5 did not copy the shrunk swr.png the page shows"
exit_through_menu
echo "PASS"
