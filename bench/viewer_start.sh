#!/usr/bin/env bash
# The viewer started as `plotvik FILE` on a generated sweep of LINES lines (a million, about
# 54 MB, by default) until its first chart is on the screen: in an X server of its own, the
# window is grabbed every few hundredths of a second until the SWR page shows, pixel for pixel,
# the chart plotvik-render draws for that file. Prints the shortest and the median of RUNS,
# the same for a sweep of ten lines (what starting costs without the data), and plotvik-render's
# time on the sweep (the load, the refill and six frames, without a window) for the split. Each
# time comes with the processor time the program had used by then, steadier on a busy machine.
#
#   bench/viewer_start.sh [BUILD_DIR] [RUNS] [LINES]
#
# BUILD_DIR (build/bench by default) needs plotvik, plotvik-render and the end-to-end tests'
# image helper, so a Release build with -DPLOTVIK_BUILD_TESTS=ON. The grabs cost a little of
# the machine's time and give the figures a resolution of about 50 ms.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
runs=${2:-3}
lines=${3:-1000000}
plotvik=$build/app/plotvik
render=$build/tools/plotvik-render
image_tool=$build/tests/e2e/plotvik_e2e_image
for file in "$plotvik" "$render" "$image_tool"; do
  [ -x "$file" ] || { echo "no $file: build $build with -DPLOTVIK_BUILD_TESTS=ON" >&2; exit 2; }
done
command -v convert >/dev/null || { echo "needs convert (ImageMagick)" >&2; exit 2; }

source "$root/tests/e2e/e2e_common.sh"
export LC_ALL=C.UTF-8
e2e_start_server

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The chart's place in the window, found once on a window that shows it.
chart_place=""
find_chart_place() {
  local expected=$1
  poll main_window_shown || fail "no main window"
  for _ in $(seq 600); do
    shot "$work/screen.png"
    if chart_place=$("$image_tool" locate "$work/screen.png" "$expected"); then return 0; fi
    sleep 0.2
  done
  fail "the viewer never showed the expected chart"
}

chart_shown() {
  local x y
  read -r x y <<<"$chart_place"
  main_window_shown &&
    import -window "$window" -crop "${width}x${height}+$x+$y" -depth 8 "rgb:$work/now.rgb" \
      2>/dev/null &&
    cmp -s "$work/now.rgb" "$work/expected.rgb"
}

# The processor time (user and system) the viewer has used so far, in milliseconds: on a busy
# machine a steadier figure than the time on the clock.
processor_ms() {
  local fields
  read -ra fields <<<"$(sed 's/.*) //' "/proc/$app_pid/stat")"
  echo $(((fields[11] + fields[12]) * 1000 / $(getconf CLK_TCK)))
}

# Starts the viewer on $1 and prints the milliseconds until its first chart is on the screen,
# and the viewer's processor time by then.
one_start() {
  local sweep=$1 start
  start=$(now_ms)
  "$plotvik" "$sweep" >"$work/plotvik.log" 2>&1 &
  app_pid=$!
  until chart_shown; do
    kill -0 "$app_pid" 2>/dev/null || fail "the viewer ended early: $(cat "$work/plotvik.log")"
    (($(now_ms) - start < 120000)) || fail "no chart within two minutes"
    sleep 0.02
  done
  echo "$(($(now_ms) - start)) $(processor_ms)"
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

measure() {
  local name=$1 count=$2 sweep=$work/$1.txt times=()
  "$root/bench/make_sweep.sh" "$count" >"$sweep"
  "$render" "$sweep" "$work/$name" >/dev/null
  convert "$work/$name/swr.png" -depth 8 "rgb:$work/expected.rgb"
  # Once unmeasured, to find the chart's place and warm the caches.
  "$plotvik" "$sweep" >"$work/plotvik.log" 2>&1 &
  app_pid=$!
  find_chart_place "$work/$name/swr.png"
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  for _ in $(seq "$runs"); do times+=("$(one_start "$sweep")"); done
  local sorted
  sorted=$(printf '%s\n' "${times[@]}" | sort -n)
  echo "$name ($count lines): shortest $(head -n1 <<<"$sorted" | cut -d' ' -f1) ms," \
    "median $(sed -n "$(((runs + 1) / 2))p" <<<"$sorted" | cut -d' ' -f1) ms of $runs;" \
    "processor time of the shortest $(head -n1 <<<"$sorted" | cut -d' ' -f2) ms"
}

measure small 10
measure sweep "$lines"
/usr/bin/time -f '%e %U %S' -o "$work/render-time" "$render" "$work/sweep.txt" "$work/render-out"
read -r wall user system <"$work/render-time"
echo "plotvik-render on the sweep: $wall s, processor time $(echo "$user + $system" | bc) s"
