#!/usr/bin/env bash
# Writes a gnuplot script for the same six charts as plotvik-render (one series against
# `height`, line and point markers), so every comparison times gnuplot on the same work.
#
#   bench/gnuplot_charts.sh SWEEP OUTDIR > charts.gp
set -euo pipefail
sweep=$1
out=$2
echo "set terminal pngcairo size 623,379"
echo "unset key"
echo "set grid"
column=4
for name in r jx swr gain fb elevation; do
  echo "set output '$out/$name.png'"
  echo "set title '$name'"
  echo "plot '$sweep' using 3:$column with linespoints pointtype 5 pointsize 0.5"
  column=$((column + 1))
done
