// The Windows C runtime's rand(): the game's only source of random numbers,
// never seeded, so every run draws the same sequence. Defined here so the
// executable's symbol takes the place of the C library's. Hidden, so that
// shared libraries which call rand() keep the C library's and never draw
// from the game's sequence.
#include <cstdint>

namespace {
uint32_t randState = 1;
}

extern "C" __attribute__((visibility("hidden"))) int rand(void) {
  randState = randState * 214013u + 2531011u;
  return (int)((randState >> 16) & 0x7FFF);
}

extern "C" __attribute__((visibility("hidden"))) void srand(unsigned int seed) { randState = seed; }
