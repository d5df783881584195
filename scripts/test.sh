#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: the test
# suites, the loaders again under AddressSanitizer, a bounded fuzz run of the
# WAV reader, and the Windows cross-build of the game.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"

"$root/scripts/setup.sh"

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null

echo "== Build and test"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_ASSETS=ON -DCORVANE_TESTS=ON -DCORVANE_BENCH=ON >/dev/null
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

echo "== Loaders under AddressSanitizer"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCORVANE_SANITIZE=ON -DCORVANE_ASSETS=OFF -DCORVANE_BENCH=OFF >/dev/null
asan_targets=()
for t in test_d3dx9 test_corpus test_audio; do
  if cmake --build "$root/build-asan" --target help | grep -q "^$t:"; then
    asan_targets+=("$t")
  fi
done
if [ ${#asan_targets[@]} -gt 0 ]; then
  cmake --build "$root/build-asan" -j"$jobs" --target "${asan_targets[@]}"
  regex="$(IFS='|'; echo "${asan_targets[*]/test_/}")"
  ASAN_OPTIONS=detect_leaks=0 ctest --test-dir "$root/build-asan" --output-on-failure \
    -j"$jobs" -R "^($regex)\\."
fi

if [ -x "$root/tests/fuzz/run.sh" ]; then
  echo "== Fuzzing the WAV reader"
  "$root/tests/fuzz/run.sh" "$root/build-fuzz"
fi

echo "== Windows cross-build of the game"
cmake -S "$root" -B "$root/build-windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build-windows" -j"$jobs"
echo "Windows build: $(ls "$root/build-windows/corvane.exe")"
