#!/usr/bin/env bash
# Installs the Debian packages Corvane needs that are missing (through sudo
# when not root). Safe to run again: it installs nothing that is there.
#   setup.sh play   what building and playing need (the default)
#   setup.sh test   that, and what the test command needs besides
#   setup.sh web    what building and playing need, and the web build's tools
set -euo pipefail

profile="${1:-play}"
case "$profile" in
  play | test | web) ;;
  *) echo "usage: setup.sh [play|test|web]" >&2; exit 2 ;;
esac

# Building and playing: the compiler and build tools, the libraries the
# platform layer sits on, Mesa's GL drivers, and the fonts the asset generator
# letters its pictures with.
packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libx11-dev libepoxy-dev libopenal-dev libstb-dev libassimp-dev libinih-dev libgl1-mesa-dri
  fonts-league-spartan fonts-jura
)
# Without a display, play.sh shows its demo on a virtual one.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  packages+=(xvfb xauth)
fi

# Testing: GoogleTest and Google Benchmark; Mesa's EGL for headless runs; a
# virtual screen with a window manager and a screen grabber for the
# fullscreen tests, and xdotool to move the focus; clang for the fuzz run;
# the x86-64 posix-threads mingw-w64 compiler for the Windows cross-build,
# Wine (64-bit only) to run it beside the Linux build on that virtual screen,
# and Emscripten (its optimizer needs node-acorn) with Chromium and Python
# (serving the page) for the web build and its browser run.
if [ "$profile" = test ]; then
  packages+=(
    libgtest-dev libbenchmark-dev
    libegl-mesa0 xvfb openbox x11-apps xdotool
    clang
    g++-mingw-w64-x86-64-posix
    wine64
    emscripten node-acorn chromium python3
  )
fi

# The web build: Emscripten with the JavaScript parser its optimizer loads,
# and Python to serve the page. The host still builds the data set, so the
# packages above stay.
if [ "$profile" = web ]; then
  packages+=(emscripten node-acorn python3)
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
updated=false

install_missing() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [ "$updated" = false ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    updated=true
  fi
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"

# The fuzzer's runtime belongs to the clang that is installed, whichever
# version the release ships.
if [ "$profile" = test ]; then
  clang_version="$(clang -dumpversion)"
  install_missing "libclang-rt-${clang_version%%.*}-dev"
fi
