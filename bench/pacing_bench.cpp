// Runs the main loop's game-scene pass on the real clock (message check,
// pacer, sleep) and reports the interval between game frames and the CPU
// the loop used. The frame itself stands in as a fixed 2 ms of work.
#include <windows.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/frame_pacer.h"
#include "bench_modes.h"

namespace {

constexpr double FRAME_WORK_MS = 2.0;

std::vector<LONGLONG> frameStarts;
LONGLONG frequency = 1;

void StandInFrame() {
  LONGLONG start = PerformanceCounterNow();
  frameStarts.push_back(start);
  while ((PerformanceCounterNow() - start) * 1000.0 / frequency < FRAME_WORK_MS) {
  }
}

double CpuSeconds() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  size_t index = (size_t)(p * (values.size() - 1) + 0.5);
  return values[index];
}

}  // namespace

int RunPacingBench(int argc, char** argv) {
  double seconds = argc > 0 ? std::atof(argv[0]) : 5.0;
  if (seconds <= 0.5) {
    std::fprintf(stderr, "corvane-bench pacing: SECONDS must be more than 0.5\n");
    return 2;
  }
  frequency = PerformanceCounterFrequency();
  FramePacer pacer;
  StartFramePacer(pacer, PerformanceCounterNow, frequency);
  frameStarts.reserve((size_t)(seconds * 70));

  double cpuBefore = CpuSeconds();
  LONGLONG start = PerformanceCounterNow(), end = start + (LONGLONG)(seconds * frequency);
  MSG msg;
  long passes = 0;
  while (PerformanceCounterNow() < end) {
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
    RunPacedGamePass(pacer, StandInFrame);
    ++passes;
  }
  double wall = (PerformanceCounterNow() - start) / (double)frequency;
  double cpu = CpuSeconds() - cpuBefore;

  std::vector<double> intervals;
  for (size_t i = 1; i < frameStarts.size(); ++i)
    intervals.push_back((frameStarts[i] - frameStarts[i - 1]) * 1000.0 / frequency);
  if (intervals.empty()) {
    std::fprintf(stderr, "corvane-bench pacing: no frames ran\n");
    return 1;
  }
  double workCpu = frameStarts.size() * FRAME_WORK_MS / 1000.0;
  std::printf("pacing: %.1f s, %zu game frames (%.2f per second), %ld loop passes\n", wall, frameStarts.size(),
              frameStarts.size() / wall, passes);
  std::printf("frame interval ms: median %.3f  p99 %.3f  min %.3f  max %.3f  (target %.3f)\n",
              Percentile(intervals, 0.5), Percentile(intervals, 0.99), Percentile(intervals, 0.0),
              Percentile(intervals, 1.0), 1000.0 / GAME_FRAMES_PER_SECOND);
  std::printf("CPU: %.1f%% of one core in all, %.1f%% outside the stand-in frame work\n", 100.0 * cpu / wall,
              100.0 * (cpu - workCpu) / wall);
  return 0;
}
