#!/usr/bin/env bash
# The analysis marks in the real window: after the key A every page shows, pixel for pixel, what
# `plotvik-render --analysis` draws for the same file (marks on the SWR and jX pages, the other
# pages as without); A again takes them away; a new load redraws them for the new file; and
# `plotvik --analysis FILE` starts with them shown.
#
# Usage: analysis_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_start_server

"$render" "$fixture" "$work/plain" || fail "plotvik-render exited with $?"
"$render" --analysis "$fixture" "$work/marks" || fail "plotvik-render --analysis exited with $?"
# A second sweep: the marks follow a new load.
head -n 8 "$fixture" >"$work/second.txt"
"$render" --analysis "$work/second.txt" "$work/second" || fail "plotvik-render exited with $?"
"$image_tool" differ "$work/plain/swr.png" "$work/marks/swr.png" >/dev/null &&
  fail "plotvik-render --analysis draws no marks on swr.png"
"$image_tool" differ "$work/plain/jx.png" "$work/marks/jx.png" >/dev/null &&
  fail "plotvik-render --analysis draws no marks on jx.png"

e2e_start_app "$fixture"
focus_window
wait_for_chart "$work/plain/swr.png" "the plain swr.png"

xdotool key a
check_every_page "$work/marks" " with the marks"
xdotool key a
check_every_page "$work/plain" " after the marks were hidden"
xdotool key a
wait_for_chart "$work/marks/swr.png" "swr.png with the marks again"

open_through_dialog "$work/second.txt"
focus_window
check_every_page "$work/second" " with the marks of the new load"
exit_through_menu

# Shown from the start.
e2e_start_app --analysis "$fixture"
focus_window
check_every_page "$work/marks" " started with --analysis"
exit_through_menu
echo "PASS"
