// The Windows C runtime's rand(): the game's only source of random numbers,
// never seeded, so every run draws the same sequence. Defined here so the
// executable's symbol takes the place of the C library's.
#include <cstdint>

namespace {
uint32_t randState = 1;
}

extern "C" int rand(void) {
  randState = randState * 214013u + 2531011u;
  return (int)((randState >> 16) & 0x7FFF);
}

extern "C" void srand(unsigned int seed) { randState = seed; }
