#!/usr/bin/env bash
# Installs whatever Debian packages Corvane needs that are missing (through
# sudo when not root). Safe to run again: it installs nothing that is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libx11-dev libepoxy-dev libopenal-dev libstb-dev libassimp-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64
  clang libclang-rt-14-dev
  fonts-league-spartan fonts-jura fonts-dseg fonts-dejavu-core
  libgl1-mesa-dri libegl-mesa0 xvfb xauth openbox x11-apps
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
