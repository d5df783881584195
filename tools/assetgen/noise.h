// Deterministic randomness for the generator: a splitmix64 stream and seeded
// 3D gradient noise with fractal sums. No library distributions, so every
// machine draws the same numbers.
#pragma once

#include <cstdint>

struct Rng {
  uint64_t state;
};

Rng MakeRng(uint64_t seed);
uint64_t NextU64(Rng& rng);
float Uniform(Rng& rng);                  // [0, 1)
float Uniform(Rng& rng, float lo, float hi);

// Improved-Perlin gradient noise in about [-1, 1]; the seed picks the lattice.
float Noise3(float x, float y, float z, uint32_t seed);
// Fractal sum with lacunarity 2 and the given gain, normalised to about [-1, 1].
float Fbm3(float x, float y, float z, int octaves, float gain, uint32_t seed);
// Ridged sum (1 - |n|), in about [0, 1].
float Ridged3(float x, float y, float z, int octaves, float gain, uint32_t seed);
