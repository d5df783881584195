// corvane-bench MODE [ARGS]: measurements that print figures.
#include <cstdio>
#include <cstring>

#include "bench_modes.h"

namespace {

struct BenchMode {
  const char* name;
  const char* summary;
  int (*run)(int argc, char** argv);
};

const BenchMode MODES[] = {
    {"pacing", "pacing [SECONDS]: game-frame intervals and CPU use of the main loop", RunPacingBench},
    {"busy", "busy [FRAMES] [--data DIR] [--capture DIR] [--fragments] [--memory] [--passes]: the heaviest game scene headless: frame times, rate, memory, start-up",
     RunBusyBench},
    {"timedemo", "timedemo [--data DIR] [--script FILE] [--memory]: a recorded stage played headless: frame times, memory, "
                 "determinism",
     RunTimedemoBench},
};

void PrintModes(std::FILE* out) {
  std::fputs("Usage: corvane-bench MODE [ARGS]\nModes:\n", out);
  for (const auto& mode : MODES) std::fprintf(out, "  %s\n", mode.summary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help")) {
    PrintModes(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  for (const auto& mode : MODES)
    if (!std::strcmp(argv[1], mode.name)) return mode.run(argc - 2, argv + 2);
  std::fprintf(stderr, "corvane-bench: unknown mode '%s'\n", argv[1]);
  PrintModes(stderr);
  return 2;
}
