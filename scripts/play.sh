#!/usr/bin/env bash
# Installs what is missing, builds, and starts Corvane. Without a display it
# plays a short scripted run under a virtual display and saves screenshots.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"

"$root/scripts/setup.sh" play
# The player's tree: the game and its data only. The test command keeps its
# own tree (build-test), so neither reconfigures the other's.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_ASSETS=ON \
  -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/corvane" "$@"
fi

shots="$build/screenshots"
mkdir -p "$shots"
echo "No display found: playing a short demo under a virtual display."
xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/corvane" --script "$root/scripts/demo.script" --frames 420 \
  --capture 30,120,200,300,419 --capture-dir "$shots" "$@"
echo "Screenshots of the demo are in $shots"
