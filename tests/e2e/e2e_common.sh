# Shared machinery of the end-to-end scripts, sourced by each of them: an X server of its own,
# the program started in it, waiting with limits, focus and menu keys, screenshots compared with
# plotvik-render's pictures, and clean-up whatever way the script ends.
#
# A script sets `plotvik`, `image_tool` (the e2e_image helper) and calls e2e_start_server first.
# Everything lives in "$work", removed on exit; with PLOTVIK_E2E_KEEP set, a failure copies it
# there.

for tool in Xvfb xdotool import xkbcomp xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "missing $tool (scripts/setup.sh installs it)" >&2
    exit 1
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-e2e.XXXXXX")
xvfb_pid=""
app_pid=""
e2e_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap e2e_cleanup EXIT
# A test runner's time-out ends the script with a signal; the server and program go with it.
trap 'exit 1' TERM INT HUP

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${PLOTVIK_E2E_KEEP:-}" ]; then
    mkdir -p "$PLOTVIK_E2E_KEEP" && cp -r "$work"/. "$PLOTVIK_E2E_KEEP"/
    echo "pictures kept in $PLOTVIK_E2E_KEEP" >&2
  fi
  exit 1
}

# A server of our own on the first free display; it tells us its number. $1, if given, is the
# screen's size (1280x1024 by default).
e2e_start_server() {
  exec 3>"$work/display"
  # -noreset: otherwise the server resets whenever its last client leaves, dropping a client that
  # connects at that moment (the next plotvik) and the keyboard map set up below.
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"

  # The Russian access keys need Cyrillic key symbols in the server's keyboard map before the
  # program reads it. They get spare keys of their own in the one, Latin group: a key in a second
  # group makes xdotool lock that group around the key, and the server may restore the group
  # before it handles the queued key, which then arrives as a Latin letter.
  xkbcomp -xkb "$DISPLAY" "$work/keymap.xkb" 2>/dev/null
  sed -i '/^xkb_symbols/a\
    key <I217> { [ Cyrillic_ef, Cyrillic_EF ] };\
    key <I219> { [ Cyrillic_o, Cyrillic_O ] };\
    key <I222> { [ Cyrillic_yeru, Cyrillic_YERU ] };' "$work/keymap.xkb"
  xkbcomp -w 0 "$work/keymap.xkb" "$DISPLAY" || fail "the keyboard map was not loaded"

  mkdir -m 700 "$work/runtime"
  export XDG_RUNTIME_DIR="$work/runtime"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
}

# Polls `$@` every tenth of a second for up to $timeout seconds; never waits for ever.
timeout=20
poll() {
  local i
  for ((i = 0; i < timeout * 10; ++i)); do
    "$@" && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended early: $(cat "$work/plotvik.log")"
    sleep 0.1
  done
  return 1
}

window=""
main_window_shown() {
  window=$(xdotool search --onlyvisible --limit 1 --name '^Plotvik \(by Tarnek\)' 2>/dev/null)
  [ -n "$window" ]
}

# Starts the program with the given arguments and waits for its main window.
e2e_start_app() {
  "$plotvik" "$@" >"$work/plotvik.log" 2>&1 &
  app_pid=$!
  poll main_window_shown || fail "no main window"
}

# There is no window manager: the focus is given as a click on the window would give it.
focus_on() {
  local target=$1
  has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$target" ]; }
  xdotool windowfocus "$target"
  poll has_focus || fail "window $target does not take the focus"
}
# The pointer rests in the window's top left corner, on the menu bar: resting over a chart
# would bring up the value tip of a point near it, over the pixels being compared.
focus_window() {
  xdotool mousemove --window "$window" 1 1
  focus_on "$window"
}

# The program's windows on screen, one id a line, sorted.
visible_window_ids() {
  xdotool search --onlyvisible --class plotvik 2>/dev/null | sort
}

# File > <entry> through the access keys: Alt+Ф opens the menu, the entry's key chooses it.
# A key that comes before the window or the menu is ready to take it is simply lost: the menu
# key is pressed again until the menu shows, the entry's key again while the menu stays.
choose_from_file_menu() {
  local entry_key=$1 before menu="" attempt press saved=$timeout
  before=$(visible_window_ids)
  menu_open() {
    menu=$(comm -13 <(echo "$before") <(visible_window_ids) | head -n1)
    [ -n "$menu" ]
  }
  menu_closed() { ! visible_window_ids | grep -qx "$menu"; }
  for attempt in 1 2 3 4 5; do
    focus_window
    xdotool key alt+Cyrillic_ef
    timeout=2
    if poll menu_open; then
      for press in 1 2 3 4 5; do
        xdotool key "$entry_key"
        timeout=3
        if poll menu_closed; then
          timeout=$saved
          return 0
        fi
      done
    fi
    timeout=$saved
  done
  fail "Alt+Ф and the entry's key do not choose from the File menu"
}

# File > Open, the path $1 typed into the dialog.
open_through_dialog() {
  local path=$1
  choose_from_file_menu Cyrillic_o
  dialog=""
  dialog_shown() {
    dialog=$(xdotool search --onlyvisible --limit 1 --name '^Open$' 2>/dev/null)
    [ -n "$dialog" ]
  }
  poll dialog_shown || fail "File > Open shows no dialog"
  focus_on "$dialog"
  # Whatever the name field offers is replaced by the path.
  xdotool key ctrl+a
  xdotool type --delay 10 "$path"
  xdotool key Return
  dialog_gone() { ! xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1; }
  poll dialog_gone || fail "the open dialog did not close"
}

# The chart's size on screen in the window's pixels; a script at another scale sets its own.
width=623
height=379

shot() {
  import -window "$window" "png:$1"
}

# Waits until the window shows the picture $1 (a PNG) at the chart's place, found on the
# first call; a repaint may lag behind the event that asked for it.
chart_x=""
chart_y=""
wait_for_chart() {
  local expected=$1 name=$2 found
  for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended early: $(cat "$work/plotvik.log")"
    shot "$work/screen.png"
    if [ -z "$chart_x" ]; then
      if found=$("$image_tool" locate "$work/screen.png" "$expected"); then
        read -r chart_x chart_y <<<"$found"
        return 0
      fi
    elif "$image_tool" crop "$work/screen.png" "$chart_x" "$chart_y" "$width" "$height" \
           "$work/chart.png" &&
         "$image_tool" differ "$work/chart.png" "$expected" >/dev/null; then
      return 0
    fi
    sleep 0.1
  done
  cp "$work/screen.png" "$work/screen-failed.png"
  fail "the window does not show $name as plotvik-render draws it" \
       "(closest place and differing pixels: $("$image_tool" locate "$work/screen.png" "$expected" || true))"
}

# Walks the pages with Ctrl+Tab from the first, once round and back to the first, each page
# equal to its picture in the folder $1; $2 follows each page's name in a failure.
check_every_page() {
  local folder=$1 suffix=$2 i
  local pages=(swr r jx gain fb elevation)
  for i in "${!pages[@]}"; do
    if [ "$i" -gt 0 ]; then
      xdotool key ctrl+Tab
    fi
    wait_for_chart "$folder/${pages[$i]}.png" "${pages[$i]}.png$suffix"
  done
  xdotool key ctrl+Tab
  wait_for_chart "$folder/swr.png" "swr.png again$suffix"
}

# Waits until the chart's place no longer shows the picture $1; fails with $2 otherwise.
wait_for_chart_change() {
  local expected=$1 message=$2
  for _ in $(seq 50); do
    shot "$work/screen.png"
    "$image_tool" crop "$work/screen.png" "$chart_x" "$chart_y" "$width" "$height" "$work/changed.png"
    if ! "$image_tool" differ "$work/changed.png" "$expected" >/dev/null; then
      return 0
    fi
    sleep 0.1
  done
  fail "$message"
}

# A left drag from ($1, $2) to ($3, $4), in the window's pixels from the chart's corner. The
# pointer then goes back to the menu bar, away from any point whose value tip could come up.
drag() {
  local x0=$((chart_x + $1)) y0=$((chart_y + $2)) x1=$((chart_x + $3)) y1=$((chart_y + $4))
  xdotool mousemove --window "$window" "$x0" "$y0" mousedown 1
  xdotool mousemove --window "$window" $(((x0 + x1) / 2)) $(((y0 + y1) / 2))
  xdotool mousemove --window "$window" "$x1" "$y1" mouseup 1
  xdotool mousemove --window "$window" 1 1
}

# File > Exit through the access keys; the program must end with status 0.
exit_through_menu() {
  choose_from_file_menu Cyrillic_yeru
  app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
  local i
  for ((i = 0; i < 200; ++i)); do
    app_ended && break
    sleep 0.1
  done
  app_ended || fail "File > Exit did not end the program"
  set +e
  wait "$app_pid"
  local status=$?
  set -e
  app_pid=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$work/plotvik.log")"
}
