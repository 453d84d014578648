#!/usr/bin/env bash
# plotvik-render against gnuplot (pngcairo) drawing the same six charts of the same sweep into six
# 623 x 379 PNG files, on sweeps of 50, 1,000 and 10,000 lines. The two commands take turns in
# rounds, so a machine that gets busier or quieter during the run weighs on both alike; the
# ratio of the median wall-clock times is printed per sweep, and beside it that of the processor
# time (user and system, all threads), which a busy machine disturbs less.
#
#   bench/render_vs_gnuplot.sh [PLOTVIK_RENDER] [ROUNDS] [RUNS_PER_ROUND]
#
# Needs gnuplot and hyperfine (scripts/bench.sh installs them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
render=${1:-$root/build/bench/tools/plotvik-render}
rounds=${2:-5}
runs=${3:-6}
for tool in gnuplot hyperfine python3; do
  command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 2; }
done
[ -x "$render" ] || { echo "no plotvik-render at $render" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

for lines in 50 1000 10000; do
  sweep=$work/sweep_$lines.txt
  "$root/bench/make_sweep.sh" "$lines" >"$sweep"
  mkdir -p "$work/render_$lines" "$work/gnuplot_$lines"
  script=$work/charts_$lines.gp
  "$root/bench/gnuplot_charts.sh" "$sweep" "$work/gnuplot_$lines" >"$script"
  for round in $(seq "$rounds"); do
    hyperfine -N --style none --warmup 1 --runs "$runs" \
      --export-json "$work/round_${lines}_$round.json" \
      "$render $sweep $work/render_$lines" "gnuplot $script" >/dev/null
  done
  python3 - "$work" "$lines" "$rounds" <<'EOF'
import json, statistics, sys
work, lines, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
times, cpu = [[], []], [[], []]
for r in range(1, rounds + 1):
    with open(f"{work}/round_{lines}_{r}.json") as f:
        for i, result in enumerate(json.load(f)["results"]):
            times[i] += result["times"]
            cpu[i].append(result["user"] + result["system"])
render, gnuplot = (statistics.median(t) * 1000 for t in times)
render_cpu, gnuplot_cpu = (statistics.mean(c) * 1000 for c in cpu)
print(f"{int(lines):>6} lines: plotvik-render {render:6.1f} ms  gnuplot {gnuplot:6.1f} ms  "
      f"ratio {render / gnuplot:.2f}   (processor time {render_cpu:.1f} ms / "
      f"{gnuplot_cpu:.1f} ms: {render_cpu / gnuplot_cpu:.2f})")
EOF
done
