#!/usr/bin/env bash
# Builds the WAV reader's libFuzzer target with clang and runs it for a bounded
# time, seeded with the real WAV files of the shared corpus. Fails on any crash
# or sanitizer report.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-fuzz}"
seconds="${CORVANE_FUZZ_SECONDS:-45}"
shared="$root/../shared/corpus/wav"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZ=ON -DCORVANE_ASSETS=OFF -DCORVANE_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_wave_reader

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
seeds=()
for dir in valid invalid unsupported; do
  [ -d "$shared/$dir" ] && seeds+=("$shared/$dir")
done
cd "$work"
"$build/tests/fuzz/fuzz_wave_reader" -max_total_time="$seconds" -max_len=4096 \
  -rss_limit_mb=2048 -print_final_stats=1 "$work" "${seeds[@]}" 2>&1 | tail -n 12
