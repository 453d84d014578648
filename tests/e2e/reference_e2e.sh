#!/usr/bin/env bash
# The reference run in a real X server of its own: `plotvik FILE`, S keeps it, File > Open of
# another file draws that over the kept one, R hides and shows the reference, and F5 reads the
# current file again; `plotvik --ref REF FILE` starts with the reference. Every page must equal
# what `plotvik-render --ref REF FILE` (or, hidden, `plotvik-render FILE`) draws.
#
# Usage: reference_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4
reference="$(dirname "$fixture")/sample_dipole.txt"

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_start_server
"$render" "$reference" "$work/alone" || fail "plotvik-render exited with $?"
"$render" --ref "$reference" "$reference" "$work/itself" || fail "plotvik-render --ref exited with $?"
"$render" "$fixture" "$work/plain" || fail "plotvik-render exited with $?"
"$render" --ref "$reference" "$fixture" "$work/both" || fail "plotvik-render --ref exited with $?"

e2e_start_app "$reference"
wait_for_chart "$work/alone/swr.png" "the reference file's swr.png"
focus_window
xdotool key s
wait_for_chart "$work/itself/swr.png" "swr.png with the run kept as its own reference"

open_through_dialog "$fixture"
focus_window
check_every_page "$work/both" " over the reference"

xdotool key r
wait_for_chart "$work/plain/swr.png" "swr.png with the reference hidden"
xdotool key r
wait_for_chart "$work/both/swr.png" "swr.png with the reference shown again"
# F5 is a new run: the reference stays.
xdotool key F5
wait_for_chart "$work/both/swr.png" "swr.png after F5"
exit_through_menu

chart_x=""
chart_y=""
e2e_start_app --ref "$reference" "$fixture"
wait_for_chart "$work/both/swr.png" "swr.png of --ref"
focus_window
check_every_page "$work/both" " of --ref"
exit_through_menu
echo "PASS"
