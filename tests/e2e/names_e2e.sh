#!/usr/bin/env bash
# File names reach the open call as the file system's bytes, in a real X server of its own: a
# name that is not UTF-8 loads when named on the command line and when dropped from a drag source
# as a file://localhost URL; a file:// URL naming another host is refused by the window (the drag
# source hears so) and loads nothing, even where its host and path spell a local file.
#
# Usage: names_e2e.sh PLOTVIK PLOTVIK_RENDER E2E_IMAGE FIXTURE E2E_DRAG
set -euo pipefail

plotvik=$1
render=$2
image_tool=$3
fixture=$4
drag_tool=$5

source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

e2e_start_server
"$render" "$fixture" "$work/expected" || fail "plotvik-render exited with $?"
: >"$work/empty.txt"
"$render" "$work/empty.txt" "$work/empty" || fail "plotvik-render exited with $?"

bad_name=$'bad\xff.txt'
cp "$fixture" "$work/$bad_name"

# The name from the command line, byte for byte.
e2e_start_app "$work/$bad_name"
wait_for_chart "$work/expected/swr.png" "swr.png of a name that is not UTF-8"
exit_through_menu

# Drags from the source's window, bottom right on the screen, onto the middle of the viewer in
# small steps, as a hand moves; `heard` is what the source heard.
heard=""
drop() {
  local url=$1 sx=1150 sy=900 tx ty i
  "$drag_tool" "$sx" "$sy" "$url" >"$work/drag.out" 2>"$work/drag.log" &
  local drag_pid=$!
  source_shown() { xdotool search --onlyvisible --name '^plotvik-e2e-drag$' >/dev/null 2>&1; }
  poll source_shown || fail "the drag source shows no window: $(cat "$work/drag.log")"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  tx=$((X + WIDTH / 2)) ty=$((Y + HEIGHT / 2))
  xdotool mousemove $((sx + 40)) $((sy + 40)) mousedown 1
  for ((i = 1; i <= 20; ++i)); do
    xdotool mousemove $((sx + 40 + (tx - sx - 40) * i / 20)) $((sy + 40 + (ty - sy - 40) * i / 20))
    sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
  # The source lingers two seconds after the drop, while the target fetches the data.
  for ((i = 0; i < 100; ++i)); do
    kill -0 "$drag_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$drag_pid" 2>/dev/null && fail "the drag did not end"
  wait "$drag_pid" || fail "the drag source ended with $?: $(cat "$work/drag.log")"
  xdotool mousemove --window "$window" 1 1
  heard=$(cat "$work/drag.out")
}

e2e_start_app
focus_window
wait_for_chart "$work/empty/swr.png" "the empty swr.png at start"

# The work folder's first component read as a host: an old reading of the URL opened the file.
cp "$fixture" "$work/x.txt"
drop "file:/$work/x.txt"
[ "$heard" = refused ] || fail "a drop of file:/$work/x.txt was $heard"
drop "file://otherhost$work/x.txt"
[ "$heard" = refused ] || fail "a drop from another host was $heard"
sleep 0.5
wait_for_chart "$work/empty/swr.png" "the empty swr.png after the refused drops"

# Every byte percent-encoded but the slashes, as a file manager may send it.
encoded=$(printf '%s' "$work/$bad_name" | od -An -tx1 -v | tr -d ' \n' |
  sed 's/\(..\)/%\1/g; s|%2f|/|g')
drop "file://localhost$encoded"
[ "$heard" = taken ] || fail "a drop of a name that is not UTF-8 was $heard"
wait_for_chart "$work/expected/swr.png" "swr.png of a dropped name that is not UTF-8"

exit_through_menu
echo "PASS"
