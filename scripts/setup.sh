#!/usr/bin/env bash
# Installs the Debian packages of the named sets, skipping those already present, so running it
# again costs nothing. Usage: scripts/setup.sh SET... (a set is scripts/packages/SET.txt, one
# package a line; an argument naming no set is taken as a package name).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=()
for arg in "$@"; do
  list="$root/scripts/packages/$arg.txt"
  if [ -f "$list" ]; then
    mapfile -t -O "${#packages[@]}" packages < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$list")
  else
    packages+=("$arg")
  fi
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    # A package named by two sets is installed once.
    [[ " ${missing[*]} " == *" $p "* ]] || missing+=("$p")
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
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
