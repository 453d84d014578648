#!/usr/bin/env bash
# plotvik-render on a generated sweep of a million lines (about 54 MB): the wall-clock time
# (the shortest of RUNS) with its processor time (user and system, less disturbed by a busy
# machine), the peak memory of the process and the read system calls made on the
# sweep file. With GNUPLOT=1 gnuplot draws the same six charts for comparison.
#
#   bench/million_lines.sh [PLOTVIK_RENDER] [RUNS] [LINES]
#
# The loader alone and one frame at a million points are import_bench's BM_LoadMillionLines and
# line_series_bench's BM_FullFrameMillionPoints.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
render=${1:-$root/build/bench/tools/plotvik-render}
runs=${2:-3}
lines=${3:-1000000}
for tool in hyperfine strace /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 2; }
done
[ -x "$render" ] || { echo "no plotvik-render at $render" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
sweep=$work/sweep.txt
"$root/bench/make_sweep.sh" "$lines" >"$sweep"
echo "sweep: $lines lines, $(($(stat -c %s "$sweep") / 1000000)) MB"

hyperfine -N --style none --runs "$runs" --export-json "$work/render.json" \
  "$render $sweep $work/out" >/dev/null
python3 -c 'import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
t, cpu = r["times"], r["user"] + r["system"]
print(f"plotvik-render: {min(t):.2f} s (shortest of {len(t)}; median {sorted(t)[len(t) // 2]:.2f} s;"
      f" processor time {cpu:.2f} s)")' \
  "$work/render.json"

/usr/bin/time -f '%M' -o "$work/peak" "$render" "$sweep" "$work/out"
echo "peak memory: $(($(cat "$work/peak") / 1024)) MB"

# The descriptor the sweep is opened on, then the reads on it until it is closed.
strace -f -e trace=openat,read,close -e abbrev=all -o "$work/trace" "$render" "$sweep" "$work/out"
awk -v path="$sweep" '
  index($0, "\"" path "\"") && /openat/ { fd = $NF; next }
  fd != "" && $0 ~ "read\\(" fd "," { reads++ }
  fd != "" && $0 ~ "close\\(" fd "\\)" { fd = "" }
  END { print "read calls on the sweep file: " reads + 0 }' "$work/trace"

if [ "${GNUPLOT:-0}" = 1 ]; then
  mkdir -p "$work/gnuplot"
  "$root/bench/gnuplot_charts.sh" "$sweep" "$work/gnuplot" >"$work/charts.gp"
  hyperfine -N --style none --runs 1 --export-json "$work/gnuplot.json" \
    "gnuplot $work/charts.gp" >/dev/null
  python3 -c 'import json, sys
print(f"gnuplot: {min(json.load(open(sys.argv[1]))["results"][0]["times"]):.2f} s")' \
    "$work/gnuplot.json"
fi
