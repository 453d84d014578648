#!/usr/bin/env bash
# Runs one test of a test program as the unprivileged user nobody when run as root: a test that
# root would skip (root reads every file) must then pass, not skip. Not as root, it runs as the
# user that runs it. The program is copied where that user can reach it.
#
# Usage: as_another_user.sh TEST_PROGRAM TEST_NAME
set -euo pipefail
program=$1
name=$2

as_user=()
work=""
if [ "$(id -u)" -eq 0 ]; then
  work=$(mktemp -d /tmp/plotvik-as-nobody.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  chmod 755 "$work"
  cp "$program" "$work/"
  program="$work/$(basename "$program")"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
set +e
output=$("${as_user[@]}" env TMPDIR=/tmp "$program" --gtest_filter="$name" 2>&1)
status=$?
set -e
echo "$output"
[ "$status" -eq 0 ] || exit "$status"
if grep -q '^\[  SKIPPED \]' <<<"$output" || ! grep -q '^\[  PASSED  \] 1 test' <<<"$output"; then
  echo "FAIL: $name did not run and pass as $("${as_user[@]}" id -un 2>/dev/null || id -un)" >&2
  exit 1
fi
