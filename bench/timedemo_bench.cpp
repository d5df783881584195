// corvane-bench timedemo [--data DIR] [--script FILE] [--memory]: a recorded flight
// played headless in-process as fast as the renderer allows. The shipped key
// script (timedemo.script) flies from the title through the first stage's
// seven gates into the next stage.
//
// Every frame's state dump is hashed; the script's "# dumps: HASH" line holds
// the hash of the recorded run, so the timedemo is also a determinism check
// (exit 1 when the run differs). Printed: frames per second, median and p99
// frame time (the scene pass: update, drawing, Present; not the dump), CPU
// per frame and peak memory, then one line for tools:
// (--memory adds where resident memory goes after start-up and after the run)
//   timedemo: N frames, F fps, median X ms, p99 Y ms, peak W MiB, dumps match
#include <windows.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "bench_modes.h"
#include "memory_report.h"
#include "scratch_player.h"
#include "common/automation_control.h"
#include "common/command_line.h"
#include "d3dx9/picture_prefetch.h"
#include "game/world_state.h"
#include "internal/automation.h"
#include "win32/window_registry.h"

namespace {

double Seconds(clockid_t clock) {
  timespec t;
  clock_gettime(clock, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[(size_t)(p * (values.size() - 1) + 0.5)];
}

// FNV-1a over the file's bytes; 0 when it cannot be read.
uint64_t HashFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  uint64_t hash = 1469598103934665603ull;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) hash = (hash ^ (uint8_t)buffer[i]) * 1099511628211ull;
  }
  return hash;
}

// The hash recorded in the script ("# dumps: HEX"); 0 when it has none.
uint64_t RecordedHash(const std::string& script) {
  std::ifstream in(script);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("# dumps: ", 0) == 0) return std::strtoull(line.c_str() + 9, nullptr, 16);
  return 0;
}

// The main loop, timing each scene pass that presented a frame.
std::vector<double> RunTimedLoop(std::vector<double>* cpuMs) {
  std::vector<double> frameMs;
  MSG msg = {};
  for (;;) {
    if (PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
      if (!GetMessageA(&msg, NULL, 0, 0)) break;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    const int before = corvane::CurrentFrame();
    const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID), t0 = Seconds(CLOCK_MONOTONIC);
    RunScenePass();
    const double t1 = Seconds(CLOCK_MONOTONIC), cpu1 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    if (corvane::CurrentFrame() != before) {
      frameMs.push_back((t1 - t0) * 1e3);
      cpuMs->push_back((cpu1 - cpu0) * 1e3);
    }
  }
  return frameMs;
}

}  // namespace

int RunTimedemoBench(int argc, char** argv) {
  corvane::CommandLine options;
  options.dataDir = CORVANE_BUILD_DATA_DIR;
  options.scriptFile = CORVANE_TIMEDEMO_SCRIPT;
  bool memory = false;
  for (int i = 0; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--data") && i + 1 < argc) options.dataDir = argv[++i];
    else if (!std::strcmp(argv[i], "--script") && i + 1 < argc) options.scriptFile = argv[++i];
    else if (!std::strcmp(argv[i], "--memory")) memory = true;
    else {
      std::fprintf(stderr, "corvane-bench timedemo: unknown argument '%s'\n", argv[i]);
      return 2;
    }
  }
  // The recorded run starts from no best scores and default settings,
  // whatever this machine's player has.
  const corvane::bench::ScratchPlayer player(options.dataDir);
  if (player.dataDir().empty()) {
    std::fprintf(stderr, "corvane-bench timedemo: %s\n", player.error().c_str());
    return 1;
  }
  options.dataDir = player.dataDir();
  char dumpName[] = "/tmp/corvane-timedemo-XXXXXX";
  const int dumpFd = mkstemp(dumpName);
  if (dumpFd < 0) {
    std::fprintf(stderr, "corvane-bench timedemo: cannot make a file for the state dumps\n");
    return 1;
  }
  close(dumpFd);
  options.dumpFile = dumpName;
  options.dumpFrames.all = true;
  options.headless = true;
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("ALSOFT_DRIVERS", "null", 0);
  corvane::SetHeadless(true);
  if (chdir(options.dataDir.c_str()) != 0) {
    std::fprintf(stderr, "corvane-bench timedemo: cannot enter the data folder '%s'\n", options.dataDir.c_str());
    return 1;
  }
  corvane::d3dx9::StartPicturePrefetch();  // as the program's entry point does
  if (!corvane::StartAutomation(options)) return 1;
  static int instance;
  if (!StartUp(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL)) {
    std::fprintf(stderr, "corvane-bench timedemo: start-up failed\n");
    return 1;
  }
  if (memory) corvane::bench::PrintMemoryReport(stdout, "after start-up");
  std::vector<double> cpuMs;
  const double begin = Seconds(CLOCK_MONOTONIC);
  const std::vector<double> frameMs = RunTimedLoop(&cpuMs);
  const double seconds = Seconds(CLOCK_MONOTONIC) - begin;
  if (memory) corvane::bench::PrintMemoryReport(stdout, "after the run");
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  const float level = Round.level, score = Round.score;
  ShutDown();
  corvane::FinishAutomation();

  const uint64_t hash = HashFile(dumpName), recorded = RecordedHash(options.scriptFile);
  std::remove(dumpName);
  double frameSum = 0;
  for (double ms : frameMs) frameSum += ms;
  const double fps = frameSum > 0 ? frameMs.size() * 1000.0 / frameSum : 0.0;
  std::printf("timedemo, %zu frames of %s (800 x 600, headless), %.1f s in all\n", frameMs.size(),
              options.scriptFile.c_str(), seconds);
  std::printf("frame         median %7.3f ms   p99 %7.3f ms   (%.0f frames/s over the frames)\n",
              Percentile(frameMs, 0.5), Percentile(frameMs, 0.99), fps);
  std::printf("frame CPU     median %7.3f ms   p99 %7.3f ms   (all threads of the process)\n", Percentile(cpuMs, 0.5),
              Percentile(cpuMs, 0.99));
  std::printf("reached       stage level %.1f, score %.0f\n", level, score);
  std::printf("state dumps   %016" PRIx64 " (recorded %016" PRIx64 ")\n", hash, recorded);
  const bool match = hash != 0 && hash == recorded;
  std::printf("timedemo: %zu frames, %.0f fps, median %.1f ms, p99 %.1f ms, peak %.0f MiB, dumps %s\n",
              frameMs.size(), fps, Percentile(frameMs, 0.5), Percentile(frameMs, 0.99), usage.ru_maxrss / 1024.0,
              match ? "match" : (recorded ? "DIFFER" : "unrecorded"));
  return match ? 0 : 1;
}
