// Where the process's resident memory goes, for the benchmarks' --memory
// flag: libraries by file, the malloc heap, other anonymous mappings, and
// what OpenAL and OpenGL hold for the game. Call it on the thread that owns
// the GL and AL contexts, between frames.
#pragma once

#include <cstdio>

namespace corvane::bench {

// Prints the breakdown under the heading "memory WHEN:".
void PrintMemoryReport(std::FILE* out, const char* when);

// The process's resident peak so far (VmHWM), in MiB.
double PeakResidentMiB();

}  // namespace corvane::bench
