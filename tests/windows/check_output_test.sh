#!/usr/bin/env bash
# The Windows check tool prints, byte for byte, what the Linux one prints, and ends with the same
# status, on every sample and every test fixture, plain and with --analysis.
# Usage: check_output_test.sh PLOTVIK_CHECK_EXE
. "$(dirname "$0")/windows_common.sh"
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=0
for file in "$root"/samples/*.txt "$root"/tests/data/*.txt "$root"/tests/data/*.bin; do
  for option in "" --analysis; do
    set +e
    "$linux_build/tools/plotvik-check" $option -- "$file" >"$work/linux.out" 2>"$work/linux.err"
    linux_status=$?
    "$wine_run" "$exe" $option -- "$file" >"$work/windows.out" 2>"$work/windows.err"
    windows_status=$?
    set -e
    name="$(basename "$file") ${option:-plain}"
    [ "$linux_status" = "$windows_status" ] ||
      fail "$name: status $windows_status on Windows, $linux_status on Linux"
    cmp -s "$work/linux.out" "$work/windows.out" || {
      diff "$work/linux.out" "$work/windows.out" | head -20 >&2
      fail "$name: standard output differs"
    }
    # The file's name is in some messages, and Windows spells it as Wine hands it over.
    cmp -s "$work/linux.err" "$work/windows.err" || {
      diff "$work/linux.err" "$work/windows.err" | head -20 >&2
      fail "$name: standard error differs"
    }
    n=$((n + 1))
  done
done
# A name outside every ANSI code page reaches the loader whole only through the wide command
# line; its record count must be the Linux one.
named="$work/свип ω.txt"
cp "$root/samples/sample_yagi.txt" "$named"
"$linux_build/tools/plotvik-check" -- "$named" >"$work/linux.out"
"$wine_run" "$exe" -- "$named" >"$work/windows.out" || fail "a Cyrillic and Greek file name was not opened"
cmp -s "$work/linux.out" "$work/windows.out" || fail "a Cyrillic and Greek file name read differently"
n=$((n + 1))
echo "PASS: $n runs printed the same on Windows as on Linux"
