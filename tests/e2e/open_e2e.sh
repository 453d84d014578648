#!/usr/bin/env bash
# A file reaching the viewer from outside its menu, in a real X server of its own: started as
# `plotvik FILE`, the window must show FILE's charts as plotvik-render draws them.
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
echo "PASS"
