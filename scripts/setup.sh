#!/usr/bin/env bash
# Installs the Debian packages Plotvik needs to build, test and run; packages already present are
# skipped, so running it again costs nothing. Extra packages may be given as arguments.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev libgmock-dev
  qt6-base-dev libgl-dev zlib1g-dev fonts-liberation fontconfig locales
  xvfb xauth xdotool xclip imagemagick x11-utils x11-xkb-utils desktop-file-utils groff-base man-db
  clang libclang-rt-14-dev libfuzzer-14-dev
)
# A caller that needs more (the benchmarks) names its own packages as arguments.
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
