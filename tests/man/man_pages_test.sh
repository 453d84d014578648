#!/usr/bin/env bash
# The manual pages format without a single warning, each names every option its program's
# --help names, so a new option cannot go unmentioned, and no entry of a list of options or keys
# runs into the one before it.
#
# Usage: man_pages_test.sh MAN_DIR PROGRAM...   (MAN_DIR holds the built NAME.1 pages)
set -euo pipefail

man_dir=$1
shift
work=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-man.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 MANWIDTH=80

failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

for program in "$@"; do
  name=$(basename "$program")
  page="$man_dir/$name.1"
  [ -f "$page" ] || { fail "no manual page $page"; continue; }
  groff -ww -z -k -man -Tutf8 "$page" 2>"$work/groff" || fail "groff refused $name.1"
  [ ! -s "$work/groff" ] || fail "groff warns on $name.1: $(cat "$work/groff")"
  if command -v man >/dev/null; then
    man --warnings -E UTF-8 -l "$page" >/dev/null 2>"$work/man" || fail "man refused $name.1"
    [ ! -s "$work/man" ] || fail "man warns on $name.1: $(cat "$work/man")"
  fi
  # An entry's tag is a line of bold or italic words followed by a line that begins a sentence;
  # without the .TP before it, the tag reads as the end of the entry before. Words that end a
  # sentence themselves ("... elevation.png .") are not a tag.
  awk -v page="$name.1" '
    tag != "" && /^[A-Z]/ && beforeTag != ".TP" {
      printf "%s line %d: %s runs into the entry before it (no .TP)\n", page, NR - 1, tag
    }
    {
      if ($0 ~ /^\.(B|I|BR|BI|IR|RB|RI|IB)( |$)/ && $0 !~ /[.:;!?]"?$/) {
        tag = $0
        beforeTag = previous
      } else {
        tag = ""
      }
      previous = $0
    }' "$page" >"$work/run-in"
  [ ! -s "$work/run-in" ] || fail "$(cat "$work/run-in")"
  env -u DISPLAY -u QT_QPA_PLATFORM "$program" --help >"$work/help"
  for option in $(grep -o -- '--[a-z][a-z-]*' "$work/help" | sort -u); do
    grep -qF -- "${option//-/\\-}" "$page" || fail "$name.1 does not mention $option"
  done
done
[ "$failed" -eq 0 ] || exit 1
echo "PASS"
