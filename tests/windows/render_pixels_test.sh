#!/usr/bin/env bash
# The Windows render tool draws the Linux render tool's pixels (decoded, so the PNG encoding does
# not matter): every sample at scale 1 and 2, with a reference run and with the analysis marks.
# Usage: render_pixels_test.sh PLOTVIK_RENDER_EXE
. "$(dirname "$0")/windows_common.sh"
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
yagi="$root/samples/sample_yagi.txt"
dipole="$root/samples/sample_dipole.txt"
cases=()
for sample in "$root"/samples/*.txt; do
  cases+=("--scale 1 -- $sample" "--scale 2 -- $sample")
done
cases+=("--ref $dipole -- $yagi" "--analysis -- $yagi" "--analysis --scale 2 -- $dipole"
  "--size 300x200 -- $dipole")
charts=0
for c in "${cases[@]}"; do
  rm -rf "$work/linux" "$work/windows"
  # shellcheck disable=SC2086 # the case is a list of words
  "$linux_build/tools/plotvik-render" $c "$work/linux" >/dev/null ||
    fail "Linux render failed: $c"
  # shellcheck disable=SC2086
  "$wine_run" "$exe" $c "$work/windows" >/dev/null || fail "Windows render failed: $c"
  for png in "$work/linux"/*.png; do
    other="$work/windows/$(basename "$png")"
    [ -f "$other" ] || fail "$c: Windows wrote no $(basename "$png")"
    a=$(convert "$png" -depth 8 rgb:- | sha256sum)
    b=$(convert "$other" -depth 8 rgb:- | sha256sum)
    if [ "$a" != "$b" ]; then
      differing=$(compare -metric AE "$png" "$other" null: 2>&1 || true)
      fail "$c: $(basename "$png") differs in $differing pixels"
    fi
    charts=$((charts + 1))
  done
done
echo "PASS: $charts charts drawn with the same pixels on Windows and Linux"
