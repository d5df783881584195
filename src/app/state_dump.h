// The whole global state as JSON members, for the automation dump.
#pragma once

#include <cstdio>

// Appends `,"name":value` for every global of the game: the front end, the
// latches and clock, and every game-world record with all its fields.
// Vectors are arrays, matrices 16 numbers row by row, and floats are
// printed so they read back to the same 32-bit value.
void WriteStateDump(std::FILE* out);
