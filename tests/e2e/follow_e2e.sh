#!/usr/bin/env bash
# Following a file in a real X server of its own. `plotvik --follow FILE` on a file that a child
# process writes in bursts (one of them ends in the middle of a line, one between a CR and its
# LF): the caption counts the lines taken; a zoomed chart keeps its pixels exactly while lines
# outside its view arrive; after the writer stops, and after another file is renamed over the
# followed one, every page equals plotvik-render's pictures of the file as it then stands.
#
# Usage: follow_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4
data=$(dirname "$fixture")
growing="$data/sample_yagi.txt"   # 60 lines, CR LF, heights rising
replacement="$data/sample_dipole.txt"

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_start_server
followed="$work/sweep.txt"
head -n 20 "$growing" >"$work/first.txt"
"$render" "$work/first.txt" "$work/first" || fail "plotvik-render exited with $?"
"$render" "$growing" "$work/grown" || fail "plotvik-render exited with $?"
"$render" "$replacement" "$work/replaced" || fail "plotvik-render exited with $?"

cp "$work/first.txt" "$followed"
e2e_start_app --follow "$followed"
wait_for_chart "$work/first/swr.png" "swr.png of the first 20 lines"

caption_says() { xdotool getwindowname "$window" | grep -q -- "$1"; }
poll caption_says "строк: 20\]" || fail "caption '$(xdotool getwindowname "$window")' does not count 20 lines"

# Zoom into the middle of what is there; the lines still to come lie beyond its right end.
drag $((width / 4)) $((height / 4)) $((width * 3 / 4)) $((height * 3 / 4))
wait_for_chart_change "$work/first/swr.png" "the zoom drag did not change the chart"
shot "$work/screen.png"
"$image_tool" crop "$work/screen.png" "$chart_x" "$chart_y" "$width" "$height" "$work/zoomed.png"

# The writer: the remaining 40 lines in bursts, 0.3 s apart. Byte offsets cut one burst in the
# middle of a line and another between a CR and its LF.
rest=$(($(stat -c %s "$growing") - $(stat -c %s "$work/first.txt")))
tail -c "$rest" "$growing" >"$work/rest.bin"
cr=$(grep -abo $'\r' "$work/rest.bin" | cut -d: -f1 | awk '$1 > 400 { print; exit }')
cuts=(300 $((cr + 1)) 1300 1700 "$rest")
(
  from=0
  for to in "${cuts[@]}"; do
    tail -c +$((from + 1)) "$work/rest.bin" | head -c $((to - from)) >>"$followed"
    from=$to
    sleep 0.3
  done
) &
writer=$!
wait "$writer" || fail "the writer failed"
cmp -s "$followed" "$growing" || fail "the writer did not write the whole file"

poll caption_says "строк: 60\]" || fail "caption '$(xdotool getwindowname "$window")' does not count 60 lines"
wait_for_chart "$work/zoomed.png" "the zoomed swr.png, unchanged by lines outside its view"

# Undone, the zoom gives the automatic ranges, which have grown with the data.
drag $((width * 3 / 4)) $((height * 3 / 4)) $((width / 4)) $((height / 4))
check_every_page "$work/grown" " of the grown file"

# Another file renamed over the followed one is a new run.
cp "$replacement" "$work/sweep.new"
mv "$work/sweep.new" "$followed"
wait_for_chart "$work/replaced/swr.png" "swr.png of the file renamed over"
poll caption_says "строк: 30\]" || fail "caption '$(xdotool getwindowname "$window")' does not count 30 lines"
check_every_page "$work/replaced" " of the file renamed over"

# L ends following: the caption is the window's own again.
focus_window
xdotool key l
caption_plain() { ! caption_says "слежение"; }
poll caption_plain || fail "L did not end following"
exit_through_menu
echo "PASS"
