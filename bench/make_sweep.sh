#!/usr/bin/env bash
# Writes a dipole-like sweep of LINES heights to standard output (a million lines make about
# 54 MB): Id Val height R jX SWR Ga FB Elevation, heights rising from 2 to 20.
#
#   bench/make_sweep.sh LINES > sweep.txt
set -euo pipefail
LC_ALL=C awk -v n="${1:?usage: make_sweep.sh LINES}" 'BEGIN {
  for (i = 0; i < n; i++) {
    h = 2 + 18 * i / (n > 1 ? n - 1 : 1)
    r = 70 + 25 * sin(h * 0.9) + 0.3 * h
    x = 10 * cos(h * 1.3) - 4
    swr = 1 + (((r - 50) ^ 2 + x * x) ^ 0.5) / 60
    printf "%d %d %.4f %.3f %.3f %.3f %.2f %.2f %.1f\n", i, 1, h, r, x, swr, \
      2.1 + 3 * sin(h / 3), 8 + 6 * cos(h / 2), 90 - 3.5 * h
  }
}'
