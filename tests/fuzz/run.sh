#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time,
# seeded with the real files of the test corpus (the folder the tests use:
# CORVANE_CORPUS_DIR, else the build's setting). Fails on any crash or
# sanitizer report, and on a missing corpus when CORVANE_REQUIRE_CORPUS is set.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-fuzz}"
seconds="${CORVANE_FUZZ_SECONDS:-45}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZ=ON -DCORVANE_ASSETS=OFF -DCORVANE_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_wave_reader

corpus="${CORVANE_CORPUS_DIR:-$(sed -n 's/^CORVANE_CORPUS_DIR:PATH=//p' "$build/CMakeCache.txt")}"
wav="$corpus/wav"
if [ ! -d "$wav" ]; then
  if [ -n "${CORVANE_REQUIRE_CORPUS:-}" ] && [ "$CORVANE_REQUIRE_CORPUS" != 0 ]; then
    echo "corpus not found at $wav (CORVANE_REQUIRE_CORPUS is set)" >&2
    exit 1
  fi
  echo "corpus not found at $wav: fuzzing without its seeds"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
seeds=()
for dir in valid invalid unsupported; do
  [ -d "$wav/$dir" ] && seeds+=("$wav/$dir")
done
cd "$work"
"$build/tests/fuzz/fuzz_wave_reader" -max_total_time="$seconds" -max_len=4096 \
  -rss_limit_mb=2048 -print_final_stats=1 "$work" "${seeds[@]}" 2>&1 | tail -n 12

# The best-score reader, seeded with the layouts a player's file may have:
# the game's own form, one number a line, and damage (a cut, a word, a number
# past 32 bits).
cmake --build "$build" --target fuzz_score_file
scores="$work/scores"
mkdir -p "$scores/corpus" "$scores/seeds"
printf '300 200 100 ' >"$scores/seeds/written"
printf '300\n200\n-100\n' >"$scores/seeds/lines"
printf '50 x 10' >"$scores/seeds/word"
printf '  7\t99999999999 5' >"$scores/seeds/too-big"
printf '300 200' >"$scores/seeds/short"
"$build/tests/fuzz/fuzz_score_file" -max_total_time="$seconds" -max_len=256 \
  -rss_limit_mb=2048 -print_final_stats=1 "$scores/corpus" "$scores/seeds" 2>&1 | tail -n 12

# Texture loading (BMP, PNG and JPEG through the texture loader), seeded with
# the corpus's pictures, the generated ones (CORVANE_DATA_DIR, else the test
# build's data folder, when there) and the JPEGs the target writes itself.
data="${CORVANE_DATA_DIR:-$root/build/data}"
cmake --build "$build" --target fuzz_texture_loading
mkdir -p "$work/pictures" "$work/jpegs"
picture_seeds=("$work/jpegs")
for dir in "$corpus/bmp/g" "$corpus/bmp/q" "$corpus/bmp/b" "$corpus/png" "$data/bmp" "$data/XFILE"; do
  [ -d "$dir" ] && picture_seeds+=("$dir")
done
CORVANE_FUZZ_SEEDS="$work/jpegs" "$build/tests/fuzz/fuzz_texture_loading" -max_total_time="$seconds" -max_len=65536 \
  -rss_limit_mb=2048 -print_final_stats=1 "$work/pictures" "${picture_seeds[@]}" 2>&1 | tail -n 12

# Mesh loading (the .x reading, with Assimp in its child process), seeded with
# the corpus's models, the generated meshes and the files known to crash
# Assimp in-process; the target reads those whole before fuzzing, so this
# process surviving them is checked on every run.
cmake --build "$build" --target fuzz_mesh_loading
mkdir -p "$work/meshes" "$work/mesh-seeds"
cp "$data"/XFILE/*.x "$work/mesh-seeds/" 2>/dev/null || true
mesh_seeds=("$work/mesh-seeds")
[ -d "$corpus/x" ] && mesh_seeds+=("$corpus/x")
"$build/tests/fuzz/fuzz_mesh_loading" -max_total_time="$seconds" -max_len=65536 \
  -rss_limit_mb=2048 -print_final_stats=1 "$work/meshes" "${mesh_seeds[@]}" 2>&1 | tail -n 12
