#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: the test
# suites, the loaders again under AddressSanitizer, a bounded fuzz run of the
# WAV reader, the Windows cross-build of the game, run under Wine and
# compared with the Linux build, and the web build, run in headless Chromium
# and compared with the Linux build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"

"$root/scripts/setup.sh" test

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null

# ctest names the tests it skipped but not why: after it, one line each with
# the test's own reason (for example a test corpus that is not there).
run_ctest() {
  local tree="$1"
  shift
  ctest --test-dir "$tree" --output-on-failure -j"$jobs" "$@"
  awk '/^[0-9]+\/[0-9]+ Test: / { name = $3 }
       skipped { print "  " name ": " $0; skipped = 0 }
       /: Skipped$/ { skipped = 1 }' "$tree/Testing/Temporary/LastTest.log"
}

echo "== Build and test"
# Its own tree, so play.sh (build/) and this command never reconfigure each other.
build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_ASSETS=ON -DCORVANE_TESTS=ON -DCORVANE_BENCH=ON -DCORVANE_WERROR=ON >/dev/null
cmake --build "$build" -j"$jobs"
run_ctest "$build" -E '^(windows_build|web)\.'

echo "== Loaders under AddressSanitizer"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCORVANE_SANITIZE=ON -DCORVANE_ASSETS=OFF -DCORVANE_BENCH=OFF -DCORVANE_WERROR=ON >/dev/null
cmake --build "$root/build-asan" -j"$jobs" --target test_d3dx9 test_corpus test_audio
ASAN_OPTIONS=detect_leaks=0 run_ctest "$root/build-asan" -R "^(d3dx9|corpus|audio)\\."

echo "== Fuzzing the WAV reader, score file, texture and mesh loading"
"$root/tests/fuzz/run.sh" "$root/build-fuzz"

echo "== Windows cross-build of the game"
cmake -S "$root" -B "$root/build-windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCORVANE_WERROR=ON >/dev/null
cmake --build "$root/build-windows" -j"$jobs"
echo "Windows build: $(ls "$root/build-windows/corvane.exe")"

echo "== The Windows build under Wine against the Linux build"
CORVANE_WINDOWS_PROGRAM="$root/build-windows/corvane.exe" run_ctest "$build" -R '^windows_build\.'

echo "== Web build in headless Chromium"
if command -v emcmake >/dev/null && [ -x /usr/bin/chromium ]; then
  "$root/scripts/web.sh" --build
  CORVANE_WEB_SITE="$root/build-web/site" run_ctest "$build" -R '^web\.'
elif [ "${CORVANE_REQUIRE_WEB:-0}" != 0 ]; then
  echo "Web build: emscripten or chromium is not installed (CORVANE_REQUIRE_WEB is set)" >&2
  exit 1
else
  echo "Web build: emscripten or chromium is not installed: skipped"
fi
