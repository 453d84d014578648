#!/usr/bin/env bash
# The Windows viewer under Wine on a virtual X server of its own:
#   plotvik.exe FILE shows its window with the exact caption, and its SWR page shows what the
#   render tool draws for FILE;
#   a file that a Windows program holds open for writing gives the error box, and the window
#   stays;
#   a followed file that a Windows writer appends lines to grows on the chart until it shows what
#   the render tool draws for the whole file.
# Usage: viewer_test.sh PLOTVIK_EXE PLOTVIK_RENDER_EXE WINDOWS_WRITER_EXE
. "$(dirname "$0")/windows_common.sh"
exe=$1
writer=$3
image_tool=${PLOTVIK_E2E_IMAGE:-$linux_build/tests/e2e/plotvik_e2e_image}
[ -x "$image_tool" ] || fail "no picture tool $image_tool (PLOTVIK_E2E_IMAGE)"
render="$linux_build/tools/plotvik-render"
fixture="$root/tests/data/pages_e2e.txt"
plotvik=$wine_run
source "$root/tests/e2e/e2e_common.sh"
# Wine starts slower than a native program.
timeout=60
writer_pid=""
stop_app() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$writer_pid" ] && kill "$writer_pid" 2>/dev/null || true
  WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix} wineserver -k 2>/dev/null || true
  app_pid="" writer_pid=""
}
trap 'stop_app; e2e_cleanup' EXIT

e2e_start_server
"$render" "$fixture" "$work/expected" >/dev/null || fail "plotvik-render exited with $?"

# The window and its caption, as the Linux build shows them.
e2e_start_app "$exe" "$fixture"
caption=$(xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
expected_caption="Plotvik (by Tarnek)                            Русская версия 0.1 Vorlis-Ensmo"
[ "$caption" = "$expected_caption" ] || fail "caption is '$caption'"
wait_for_chart "$work/expected/swr.png" "swr.png"
echo "the window shows its caption and the SWR page as the render tool draws it"
stop_app

# A file held open for writing by another program: the sharing error's box.
cp "$fixture" "$work/held.txt"
"$wine_run" "$writer" hold "$work/held.txt" 60 >"$work/writer.log" 2>&1 &
writer_pid=$!
held_open() { grep -q ready "$work/writer.log"; }
app_pid=$writer_pid poll held_open || fail "the writer did not open the file"
e2e_start_app "$exe" "$work/held.txt"
box=""
error_box_shown() {
  box=$(xdotool search --onlyvisible --limit 1 --name '^Plotvik$' 2>/dev/null)
  [ -n "$box" ]
}
poll error_box_shown || fail "no error box for a file held open for writing"
echo "a file held open for writing gives the error box"
stop_app

# Following: a Windows writer appends 40 lines, 0.2 s apart, to a file the viewer follows.
: >"$work/followed.txt"
e2e_start_app "$exe" --follow "$work/followed.txt"
"$wine_run" "$writer" append "$work/followed.txt" 40 >"$work/writer.log" 2>&1 &
writer_pid=$!
writer_done() { ! kill -0 "$writer_pid" 2>/dev/null; }
poll writer_done || fail "the writer did not finish"
"$render" "$work/followed.txt" "$work/followed" >/dev/null || fail "plotvik-render of the followed file"
chart_x="" chart_y=""
wait_for_chart "$work/followed/swr.png" "the followed file's swr.png"
echo "a followed file written by a Windows writer grows on the chart"
echo "PASS"
