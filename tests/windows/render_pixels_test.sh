#!/usr/bin/env bash
# The Windows render tool draws the Linux render tool's pixels (decoded, so the PNG encoding does
# not matter): every sample at scale 1 and 2, every test fixture, with a reference run and with
# the analysis marks.
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
# Every fixture of the test suite, the expected pictures' among them.
for fixture in "$root"/tests/data/*.txt; do
  cases+=("-- $fixture")
done
cases+=("--ref $dipole -- $yagi" "--analysis -- $yagi" "--analysis --scale 2 -- $dipole"
  "--size 300x200 -- $dipole")
charts=0
for c in "${cases[@]}"; do
  rm -rf "$work/linux" "$work/windows"
  # A file with a bad line still gives its charts, with status 1 and the warning: both must say
  # the same.
  set +e
  # shellcheck disable=SC2086 # the case is a list of words
  "$linux_build/tools/plotvik-render" $c "$work/linux" >/dev/null 2>"$work/linux.err"
  linux_status=$?
  # shellcheck disable=SC2086
  "$wine_run" "$exe" $c "$work/windows" >/dev/null 2>"$work/windows.err"
  windows_status=$?
  set -e
  [ "$linux_status" = "$windows_status" ] ||
    fail "$c: status $windows_status on Windows, $linux_status on Linux"
  cmp -s "$work/linux.err" "$work/windows.err" || fail "$c: the messages differ"
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
