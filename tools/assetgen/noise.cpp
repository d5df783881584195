#include "noise.h"

#include <array>
#include <cmath>
#include <map>

Rng MakeRng(uint64_t seed) { return Rng{seed}; }

uint64_t NextU64(Rng& rng) {
  uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Uniform(Rng& rng) { return float(NextU64(rng) >> 40) * (1.0f / 16777216.0f); }

float Uniform(Rng& rng, float lo, float hi) { return lo + (hi - lo) * Uniform(rng); }

namespace {

using Perm = std::array<uint8_t, 512>;

const Perm& PermutationFor(uint32_t seed) {
  static std::map<uint32_t, Perm> cache;
  auto it = cache.find(seed);
  if (it != cache.end()) return it->second;
  Perm p{};
  for (int i = 0; i < 256; ++i) p[size_t(i)] = uint8_t(i);
  Rng rng = MakeRng(0xC0A7A9E5ull ^ (uint64_t(seed) << 17));
  for (int i = 255; i > 0; --i) {
    int j = int(NextU64(rng) % uint64_t(i + 1));
    std::swap(p[size_t(i)], p[size_t(j)]);
  }
  for (int i = 0; i < 256; ++i) p[size_t(i + 256)] = p[size_t(i)];
  return cache.emplace(seed, p).first->second;
}

float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

float Grad(int hash, float x, float y, float z) {
  int h = hash & 15;
  float u = h < 8 ? x : y;
  float v = h < 4 ? y : (h == 12 || h == 14 ? x : z);
  return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace

float Noise3(float x, float y, float z, uint32_t seed) {
  const Perm& p = PermutationFor(seed);
  float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
  int X = int(fx) & 255, Y = int(fy) & 255, Z = int(fz) & 255;
  x -= fx;
  y -= fy;
  z -= fz;
  float u = Fade(x), v = Fade(y), w = Fade(z);
  int A = p[size_t(X)] + Y, AA = p[size_t(A)] + Z, AB = p[size_t(A + 1)] + Z;
  int B = p[size_t(X + 1)] + Y, BA = p[size_t(B)] + Z, BB = p[size_t(B + 1)] + Z;
  return Lerp(Lerp(Lerp(Grad(p[size_t(AA)], x, y, z), Grad(p[size_t(BA)], x - 1, y, z), u),
                   Lerp(Grad(p[size_t(AB)], x, y - 1, z), Grad(p[size_t(BB)], x - 1, y - 1, z), u), v),
              Lerp(Lerp(Grad(p[size_t(AA + 1)], x, y, z - 1), Grad(p[size_t(BA + 1)], x - 1, y, z - 1), u),
                   Lerp(Grad(p[size_t(AB + 1)], x, y - 1, z - 1),
                        Grad(p[size_t(BB + 1)], x - 1, y - 1, z - 1), u),
                   v),
              w);
}

float Fbm3(float x, float y, float z, int octaves, float gain, uint32_t seed) {
  float sum = 0.0f, amp = 1.0f, norm = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * Noise3(x, y, z, seed + uint32_t(i) * 7919u);
    norm += amp;
    amp *= gain;
    x *= 2.0f;
    y *= 2.0f;
    z *= 2.0f;
  }
  return sum / norm;
}

float Ridged3(float x, float y, float z, int octaves, float gain, uint32_t seed) {
  float sum = 0.0f, amp = 1.0f, norm = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    float n = 1.0f - std::fabs(Noise3(x, y, z, seed + uint32_t(i) * 104729u));
    sum += amp * n * n;
    norm += amp;
    amp *= gain;
    x *= 2.0f;
    y *= 2.0f;
    z *= 2.0f;
  }
  return sum / norm;
}
