// Where start-up's time went, for the busy benchmark: the time before main
// (loading and linking the libraries), the platform calls that make up the
// window, the device, the sound system, the meshes and the pictures, the
// sounds, and the first title frame, as wall time on the main thread and CPU
// time (the main thread's, and the whole process's for comparison).
#pragma once

#include <cstdio>

namespace corvane::bench {

struct StartupSpan {
  double processStart;  // CLOCK_MONOTONIC seconds, or below 0 when unknown
  double mainEntered;   // CLOCK_MONOTONIC seconds, likewise for the rest
  double startUpBegin, startUpDone, firstTitleDone;
};

// Prints the table under the heading "start-up, where the time goes".
void PrintStartupReport(std::FILE* out, const StartupSpan& span);

}  // namespace corvane::bench
