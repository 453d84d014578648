#!/usr/bin/env bash
# Installs the Debian packages of the named sets, skipping those already present, so running it
# again costs nothing and prints nothing. Usage: scripts/setup.sh SET... (a set is
# scripts/packages/SET.txt, one package a line, its first line a comment saying what the set is
# for; an argument naming no set is taken as a package name).
#
# When something is missing it says in one line what it installs and why, shows one short
# progress line while apt works, and keeps apt's own output in build/setup.log; only when apt
# fails does the end of that log follow, on standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=()
from=()  # the set each package came from, by position; empty for a name given alone
declare -A purpose_of
for arg in "$@"; do
  list="$root/scripts/packages/$arg.txt"
  if [ -f "$list" ]; then
    # "# Building the viewer ...: scripts/run.sh." says the set is for "building the viewer ...".
    first=$(head -n 1 "$list")
    if [[ $first == \#* ]]; then
      purpose=$(sed -e 's/^#[[:space:]]*//' -e 's/: scripts\/[^ ]*\.sh\.$//' -e 's/\.$//' \
        -e 's/^./\L&/' <<<"$first")
      purpose_of[$arg]=$purpose
    fi
    while read -r p; do
      packages+=("$p")
      from+=("$arg")
    done < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$list")
  else
    packages+=("$arg")
    from+=("")
  fi
done

missing=()
purposes=""
declare -A state named
for i in "${!packages[@]}"; do
  p=${packages[$i]}
  # A package named by two sets is asked about and installed once, for both.
  if [ -z "${state[$p]:-}" ]; then
    state[$p]=present
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
      state[$p]=missing
      missing+=("$p")
    fi
  fi
  set_name=${from[$i]}
  if [ "${state[$p]}" = missing ] && [ -n "$set_name" ] && [ -n "${purpose_of[$set_name]:-}" ] &&
    [ -z "${named[$set_name]:-}" ]; then
    named[$set_name]=1
    purposes+="${purposes:+; }${purpose_of[$set_name]}"
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

# sudo resets the environment, so the setting goes on its command line; without it apt's
# configuration questions end in debconf errors that read like a failure.
as_root=(env DEBIAN_FRONTEND=noninteractive)
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "These packages are missing and there is no sudo: as root, run" >&2
    echo "  apt-get install ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo DEBIAN_FRONTEND=noninteractive)
fi

mkdir -p "$root/build"
log="$root/build/setup.log"
: >"$log"
shown_log=${log#"$PWD/"}

count="${#missing[@]} Debian package"
[ ${#missing[@]} -eq 1 ] || count+="s"
echo "Installing $count${purposes:+ for $purposes}: ${missing[*]} (apt's output goes to $shown_log)"

# On a terminal the progress is one line, rewritten in place; elsewhere (a CI log) each step
# gets a line of its own, once.
on_terminal=""
[ -t 1 ] && on_terminal=1
step=""
shown=""
progress() {
  local what=$1 percent=${2:-}
  if [ -n "$on_terminal" ]; then
    local text="  $what${percent:+ $percent%}"
    [ "$text" = "$shown" ] || printf '\r\033[K%s' "$text"
    shown=$text
  elif [ "$what" != "$step" ]; then
    printf '  %s\n' "$what"
  fi
  step=$what
}
progress_done() {
  [ -z "$on_terminal" ] || printf '\r\033[K'
}

# apt reports its progress on the status descriptor, here its standard error, as
# "dlstatus:ITEM:PERCENT:TEXT" (fetching) and "pmstatus:PACKAGE:PERCENT:TEXT" (dpkg at work);
# every other line there (errors, debconf's and dpkg's complaints) belongs in the log.
follow_apt() {
  local fetching=$1 line kind percent
  while IFS= read -r line; do
    case $line in
      dlstatus:* | pmstatus:*)
        kind=${line%%:*}
        percent=${line#*:*:}
        percent=${percent%%:*}
        percent=${percent%%.*}
        if [ "$kind" = dlstatus ]; then
          progress "$fetching" "$percent"
        else
          progress "unpacking and setting up" "$percent"
        fi
        ;;
      *) printf '%s\n' "$line" >>"$log" ;;
    esac
  done
}

# Runs apt-get as root with its output in the log. Before sudo has asked for a password the
# terminal's progress line waits, so that the question is not written into it.
run_apt() {
  local fetching=$1
  shift
  echo "# apt-get $*" >>"$log"
  if [ -z "$on_terminal" ] || [ "${as_root[0]}" != sudo ]; then
    progress "$fetching"
  fi
  "${as_root[@]}" apt-get -q -o APT::Status-Fd=2 "$@" 2>&1 >>"$log" | follow_apt "$fetching"
}

apt_failed() {
  progress_done
  {
    echo "apt-get $1 failed; the end of $shown_log:"
    tail -n 25 "$log"
  } >&2
  exit 1
}

run_apt "updating the package lists" update || apt_failed update
run_apt "fetching the packages" install -y --no-install-recommends "${missing[@]}" ||
  apt_failed install
progress_done
echo "Installed $count."
