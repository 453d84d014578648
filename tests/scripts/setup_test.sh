#!/usr/bin/env bash
# scripts/setup.sh against a fake apt-get, dpkg-query and sudo on PATH, in a copy of the tree
# with two package sets of its own: nothing at all when nothing is missing; otherwise one line
# saying what is installed and why, a short progress, apt's output (all of dpkg's lines) in
# build/setup.log and not on the screen, and the log's end on standard error only when apt fails;
# on a terminal the progress is one line rewritten in place.
#
# Usage: setup_test.sh SETUP_SH
set -euo pipefail

setup=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-setup.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

tree="$work/tree"
mkdir -p "$tree/scripts/packages" "$work/bin"
cp "$setup" "$tree/scripts/setup.sh"
cat >"$tree/scripts/packages/alpha.txt" <<'SET'
# Building the alpha: scripts/alpha.sh.
pkg-a
pkg-b  # already installed
pkg-shared
SET
cat >"$tree/scripts/packages/beta.txt" <<'SET'
# The beta on top of the alpha set: scripts/beta.sh.
pkg-shared

pkg-c
SET

# dpkg-query -W -f='${Status}' NAME: installed when NAME is in $FAKE_INSTALLED.
cat >"$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
name=${!#}
if [[ " $FAKE_INSTALLED " == *" $name "* ]]; then
  printf 'install ok installed'
else
  echo "dpkg-query: no packages found matching $name" >&2
  exit 1
fi
FAKE
# id -u: root, unless $FAKE_UID says otherwise.
cat >"$work/bin/id" <<'FAKE'
#!/usr/bin/env bash
echo "${FAKE_UID:-0}"
FAKE
# sudo VAR=VALUE COMMAND...: as a password-less sudo would run it.
cat >"$work/bin/sudo" <<'FAKE'
#!/usr/bin/env bash
exec env FAKE_SUDO=" (sudo)" "$@"
FAKE
# apt-get: writes what a first install writes (dpkg's hundreds of lines, debconf's and
# invoke-rc.d's complaints) and the status lines on the descriptor it is given; fails the
# command named by $FAKE_APT_FAILS as apt does.
cat >"$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
status_fd=""
command=""
arguments=()
while [ $# -gt 0 ]; do
  case $1 in
    -o) [[ $2 == APT::Status-Fd=* ]] && status_fd=${2#*=}; shift ;;
    -*) ;;
    *) if [ -z "$command" ]; then command=$1; else arguments+=("$1"); fi ;;
  esac
  shift
done
echo "$command ${arguments[*]} DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-}${FAKE_SUDO:-}" >>"$FAKE_APT_CALLS"
say_status() { [ -z "$status_fd" ] || echo "$1" >&"$status_fd"; }
if [ "$command" = update ]; then
  for i in 1 2 3; do
    echo "Get:$i http://deb.debian.org/debian bookworm InRelease [151 kB]"
    say_status "dlstatus:$i:$((i * 33)).3333:Retrieving file $i of 3"
  done
  if [ "${FAKE_APT_FAILS:-}" = update ]; then
    echo "E: The repository 'http://deb.debian.org/debian bookworm Release' is not signed." >&2
    exit 100
  fi
  exit 0
fi
for p in "${arguments[@]}"; do
  if [ "${FAKE_APT_FAILS:-}" = install ] && [ "$p" = pkg-c ]; then
    echo "E: Unable to locate package $p" >&2
    exit 100
  fi
done
say_status "dlstatus:1:50:Retrieving file 1 of 2"
echo "debconf: delaying package configuration, since apt-utils is not installed" >&2
for i in $(seq 250); do
  echo "Selecting previously unselected package lib$i."
  echo "Unpacking lib$i (1.0-$i) ..."
  echo "Setting up lib$i (1.0-$i) ..."
  say_status "pmstatus:lib$i:$((i * 100 / 250)).0000:Installing lib$i: configuring (with a colon)"
done
echo "invoke-rc.d: policy-rc.d denied execution of start."
FAKE
chmod +x "$work/bin/"*
export PATH="$work/bin:$PATH" FAKE_APT_CALLS="$work/apt-calls"

# Runs setup.sh SET... from the tree's root; FAKE_INSTALLED and FAKE_APT_FAILS as the case sets
# them.
run_setup() {
  : >"$FAKE_APT_CALLS"
  rm -rf "$tree/build"
  status=0
  (cd "$tree" && ./scripts/setup.sh "$@") >"$work/out" 2>"$work/err" || status=$?
}

# Nothing missing: nothing said, apt never asked.
FAKE_INSTALLED="pkg-a pkg-b pkg-shared pkg-c" run_setup alpha beta
[ "$status" -eq 0 ] || fail "nothing missing: status $status"
[ ! -s "$work/out" ] || fail "nothing missing, yet on standard output: $(cat "$work/out")"
[ ! -s "$work/err" ] || fail "nothing missing, yet on standard error: $(cat "$work/err")"
[ ! -s "$FAKE_APT_CALLS" ] || fail "nothing missing, yet apt-get ran: $(cat "$FAKE_APT_CALLS")"
[ ! -e "$tree/build" ] || fail "nothing missing, yet build/ was made"

# A first install: one line of what and why, the progress, and the rest in the log.
FAKE_INSTALLED="pkg-b" run_setup alpha beta pkg-x
[ "$status" -eq 0 ] || fail "install: status $status: $(cat "$work/err")"
expected="Installing 4 Debian packages for building the alpha; the beta on top of the alpha set: pkg-a pkg-shared pkg-c pkg-x (apt's output goes to build/setup.log)
  updating the package lists
  fetching the packages
  unpacking and setting up
Installed 4 Debian packages."
[ "$(cat "$work/out")" = "$expected" ] ||
  fail "install said:
$(cat "$work/out")
and not:
$expected"
[ ! -s "$work/err" ] || fail "install wrote on standard error: $(cat "$work/err")"
[ "$(cat "$FAKE_APT_CALLS")" = "update  DEBIAN_FRONTEND=noninteractive
install pkg-a pkg-shared pkg-c pkg-x DEBIAN_FRONTEND=noninteractive" ] ||
  fail "apt-get was run as: $(cat "$FAKE_APT_CALLS")"
log="$tree/build/setup.log"
[ "$(grep -c '^Unpacking ' "$log")" -eq 250 ] || fail "the log lacks dpkg's lines"
grep -q '^debconf: delaying' "$log" || fail "the log lacks debconf's complaint"
grep -q '^invoke-rc.d: ' "$log" || fail "the log lacks invoke-rc.d's line"
! grep -q 'status:' "$log" || fail "status lines went into the log"

# Not root: apt-get runs through sudo, with the setting on its command line.
FAKE_UID=1000 FAKE_INSTALLED="pkg-a pkg-b pkg-c" run_setup alpha beta
[ "$status" -eq 0 ] || fail "install through sudo: status $status: $(cat "$work/err")"
[ "$(cat "$FAKE_APT_CALLS")" = "update  DEBIAN_FRONTEND=noninteractive (sudo)
install pkg-shared DEBIAN_FRONTEND=noninteractive (sudo)" ] ||
  fail "apt-get was run through sudo as: $(cat "$FAKE_APT_CALLS")"
[ "$(head -n 1 "$work/out")" = "Installing 1 Debian package for building the alpha; the beta on top of the alpha set: pkg-shared (apt's output goes to build/setup.log)" ] ||
  fail "install through sudo said: $(head -n 1 "$work/out")"

# A failed install: the log's end on standard error, with apt's reason, and not the whole log.
FAKE_INSTALLED="pkg-b" FAKE_APT_FAILS=install run_setup alpha beta
[ "$status" -ne 0 ] || fail "a failed install ended with status 0"
[ "$(head -n 1 "$work/err")" = "apt-get install failed; the end of build/setup.log:" ] ||
  fail "a failed install said on standard error: $(head -n 1 "$work/err")"
grep -qx 'E: Unable to locate package pkg-c' "$work/err" || fail "apt's reason was not shown"
! grep -q '^Installed' "$work/out" || fail "a failed install claimed success"

FAKE_INSTALLED="pkg-b" FAKE_APT_FAILS=install run_setup alpha
[ "$status" -eq 0 ] || fail "the alpha set alone does not need pkg-c: status $status"

# The lists' update fails after a few hundred lines of nothing: only the end is shown.
FAKE_INSTALLED="pkg-b" FAKE_APT_FAILS=update run_setup alpha beta
[ "$status" -ne 0 ] || fail "a failed update ended with status 0"
[ "$(head -n 1 "$work/err")" = "apt-get update failed; the end of build/setup.log:" ] ||
  fail "a failed update said on standard error: $(head -n 1 "$work/err")"
grep -q "^E: The repository .* is not signed.$" "$work/err" || fail "apt's reason was not shown"
! grep -q '^install' "$FAKE_APT_CALLS" || fail "apt-get install ran after a failed update"

# On a terminal, one progress line rewritten in place, cleared before the last line.
if command -v script >/dev/null; then
  : >"$FAKE_APT_CALLS"
  rm -rf "$tree/build"
  FAKE_INSTALLED="pkg-b" script -qefc "cd '$tree' && ./scripts/setup.sh alpha beta" /dev/null \
    </dev/null >"$work/tty" 2>&1 || fail "install on a terminal: status $?"
  # What the terminal shows: of each line, what follows the last return and clearing.
  sed -e 's/\r$//' -e 's/.*\r\x1b\[K//' "$work/tty" >"$work/tty-lines"
  [ "$(wc -l <"$work/tty-lines")" -eq 2 ] ||
    fail "on a terminal more than two lines: $(cat "$work/tty-lines")"
  grep -q $'\r\x1b\\[K  unpacking and setting up 100%' "$work/tty" ||
    fail "on a terminal no progress: $(cat -v "$work/tty")"
  [ "$(tail -n 1 "$work/tty-lines")" = "Installed 3 Debian packages." ] ||
    fail "on a terminal the last line is: $(tail -n 1 "$work/tty-lines")"
else
  echo "no script(1): the terminal's progress line is not checked"
fi

[ "$failed" -eq 0 ] || exit 1
echo "PASS"
