// corvane-bench busy [FRAMES] [--data DIR] [--capture DIR] [--fragments] [--passes] [--memory]: the game's
// heaviest scene, run in-process and headless (SDL offscreen, Mesa's software renderer, OpenAL's
// null device unless the environment says otherwise).
//
// Start-up is timed from process start (the kernel's start time, 10 ms
// ticks) to the Present of the first title frame. Then a round is reset as
// the fade into a normal run does, and before every game frame the state is
// set to the worst the game produces, so the update still runs its full
// course on it:
//   - all 30 obstacle slots filled (stones, dust, one item in six) on a ring
//     22 units around the ship's line, 10 to 95 units ahead: near enough to
//     be drawn, far enough (hit 13, graze 17) never to end the round;
//   - all 400 smoke particles alive around the ship;
//   - hands-off flight (no steering speed, count 100): 30 speed lines and the
//     boost, trails behind the three nozzles;
//   - an item effect with the roulette running, a warning marker ahead, the
//     score panel and a four-digit score;
//   - on odd frames a gate event with its full arrow panel (during which the
//     game draws only obstacle slots 0 to 7), on even frames none.
// --fragments counts the fragments each kind of draw writes (slows the run).
// --passes then weighs each kind of draw by its absence: further frames run
// in short alternating blocks, each with one kind left out (or all draws),
// and the frame CPU each block saves is that pass's cost; with --fragments
// it is also given per fragment. What is left with every draw left out is
// the fixed cost of a frame (update, clears, present, the driver's frame).
// --memory prints where resident memory goes after start-up and after the run.
// --capture saves the first frame of each kind (frame-000001.png with the 30
// obstacles, frame-000002.png with the gate panel) to compare pictures.
// Printed: start-up wall and CPU time (the CPU figure holds on a busy machine;
// child processes, such as a mesh import, apart) and where it went,
// update and whole-frame wall time (median, p99), whole-frame CPU
// time of the process (the renderer's threads included), the frame rate the
// machine could sustain, what a frame asks of OpenGL, and peak memory. The
// last line sums it up for tools:
//   busy: median X ms, p99 Y ms, start-up Z ms, peak W MiB
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "internal/d3d9_device.h"
#include "win32/window_registry.h"
#include "app/scene_frame.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "common/automation_control.h"
#include "common/command_line.h"
#include "d3dx9/picture_prefetch.h"
#include "bench_modes.h"
#include "memory_report.h"
#include "startup_report.h"
#include "game/game_frame.h"
#include "game/round_reset.h"
#include "game/update_game.h"
#include "game/world_state.h"

namespace {

double Seconds(clockid_t clock) {
  timespec t;
  clock_gettime(clock, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

// Seconds since boot at which this process started.
double ProcessStartSeconds() {
  std::FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return -1.0;
  char buffer[1024] = {};
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  buffer[n] = 0;
  const char* p = std::strrchr(buffer, ')');  // the name may hold spaces
  if (!p) return -1.0;
  unsigned long long start = 0;
  // Fields after the name: state is field 3, starttime field 22.
  int field = 2;
  for (const char* q = p + 1; *q; ++q)
    if (*q == ' ' && ++field == 22) {
      start = std::strtoull(q + 1, nullptr, 10);
      break;
    }
  return (double)start / (double)sysconf(_SC_CLK_TCK);
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[(size_t)(p * (values.size() - 1) + 0.5)];
}

void FillTheWorld(int frame) {
  const float pz = Player.pos.z;
  const bool gate = frame % 2 == 1;
  for (int k = 0; k < ROCK_COUNT; ++k) {
    Rock& rock = rocks[k];
    const float angle = k * 0.7f;
    rock.pos = D3DXVECTOR3(Player.pos.x + 22.0f * std::cos(angle), Player.pos.y + 22.0f * std::sin(angle),
                           pz + 10.0f + (k * 37 % 86));
    rock.kind = k % 6 == 5 ? KIND_ITEM : (k % 3 == 2 ? KIND_DUST : KIND_STONE);
    rock.scale = 1.0f;
    rock.vanishing = false;
    rock.hitRadius = 13.0f;
    rock.grazeRadius = rock.kind == KIND_DUST ? 10.0f : 17.0f;
  }
  for (int i = 0; i < PARTICLE_COUNT; ++i) {
    Particle.active[i] = true;
    Particle.pos[i] = D3DXVECTOR3(Player.pos.x + (i % 20 - 10) * 0.8f, Player.pos.y + (i / 20 - 10) * 0.8f,
                                  pz - 3.0f - (i % 7));
    Particle.scale[i] = 0.5f;
  }
  Player.velX = Player.velY = 0.0f;
  Player.handsOffFrames = 100;
  Player.crashed = false;
  Player.dashing = false;
  Round.phase = PHASE_FLYING;
  Round.mode = MODE_NORMAL;
  Round.introOffset = 0.0f;
  Round.score = std::max(Round.score, 1234.0f);
  Item.spinning = true;
  Item.effect = EFFECT_SPEED_UP;
  Item.timer = 150.0f;
  Item.spinCount = 0;
  Probe.markers[0] = D3DXVECTOR3(Player.pos.x, Player.pos.y, pz + 30.0f);
  Gate = GateRecord{};
  if (gate) {
    Gate.kind = GATE_VIEW_BELOW;
    for (int a = 0; a < GATE_ARROW_COUNT; ++a) Gate.arrows[a] = a % 4;
    Gate.approach = 60.0f;
    Gate.arrowScale = 0.1f;
    Gate.arrowAlpha = 255;
  }
}

double CpuMs() { return Seconds(CLOCK_PROCESS_CPUTIME_ID) * 1e3; }

// Frame CPU time (ms) of one busy frame; `frame` picks the gate or field variant.
double TimedFrame(int frame) {
  FillTheWorld(frame);
  const double cpu0 = CpuMs();
  UpdateGame();
  DrawGameFrame();
  return CpuMs() - cpu0;
}

// Runs `frames` frames in blocks of 8 that cycle through the variants (no
// pass left out, each pass left out, every draw left out), each frame
// finished before the next so its CPU time is its own; the first two frames
// of a block are not counted. Returns the table of each pass's median saving.
std::string WeighPasses(int frames, const corvane::d3d9::FrameStats& counted, int countedFrames) {
  using corvane::d3d9::kFragmentPassCount;
  const char* names[kFragmentPassCount] = {"lit meshes", "additive", "other blended", "opaque", "onto back buffer"};
  constexpr int kVariants = kFragmentPassCount + 2, kBlock = 8, kSettle = 2;
  std::vector<double> cpu[kVariants];
  for (int frame = 0; frame < frames; ++frame) {
    const int block = frame / kBlock, variant = block % kVariants;
    const unsigned mask = variant == 0 ? 0u : variant <= kFragmentPassCount ? 1u << (variant - 1) : ~0u;
    corvane::d3d9::SetPassWeighing(Gfx.device, true, mask);
    const double ms = TimedFrame(frame);
    if (frame % kBlock >= kSettle) cpu[variant].push_back(ms);
  }
  corvane::d3d9::SetPassWeighing(Gfx.device, false, 0);
  const double full = Percentile(cpu[0], 0.5), none = Percentile(cpu[kVariants - 1], 0.5);
  std::string table;
  char line[256];
  auto add = [&](const char* format, auto... values) {
    std::snprintf(line, sizeof line, format, values...);
    table += line;
  };
  add("pass costs    frame CPU median %.2f ms over %d frames in alternating blocks (pictures incomplete)\n", full,
      frames);
  double drawn = 0.0;
  for (int k = 0; k < kFragmentPassCount; ++k) {
    const double saved = full - Percentile(cpu[k + 1], 0.5);
    drawn += saved;
    add("  %-17s %6.2f ms  %5.1f %%", names[k], saved, 100.0 * saved / full);
    const double fragments = countedFrames ? (double)counted.fragments[k] / countedFrames : 0.0;
    if (fragments > 0) add("   %.2f screens, %.1f ns a fragment", fragments / 480000.0, saved * 1e6 / fragments);
    add("\n");
  }
  add("  %-17s %6.2f ms  %5.1f %%   (update, clears, present, the driver's frame)\n", "no draws at all", none,
      100.0 * none / full);
  add("  %-17s %6.2f ms  %5.1f %%   (draw calls, state and what the passes share)\n", "remainder", full - none - drawn,
      100.0 * (full - none - drawn) / full);
  return table;
}

}  // namespace

int RunBusyBench(int argc, char** argv) {
  const double processStart = ProcessStartSeconds();
  const double mainEntered = Seconds(CLOCK_MONOTONIC);
  const double mainEnteredSinceBoot = Seconds(CLOCK_BOOTTIME);
  int frames = 3000;
  std::string data = CORVANE_BUILD_DATA_DIR;
  corvane::CommandLine automation;
  bool countFragments = false, weighPasses = false, memory = false;
  for (int i = 0; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--data") && i + 1 < argc) data = argv[++i];
    else if (!std::strcmp(argv[i], "--capture") && i + 1 < argc) automation.captureDir = argv[++i];
    else if (!std::strcmp(argv[i], "--fragments")) countFragments = true;
    else if (!std::strcmp(argv[i], "--memory")) memory = true;
    else if (!std::strcmp(argv[i], "--passes")) weighPasses = true;
    else if (std::atoi(argv[i]) > 0) frames = std::atoi(argv[i]);
    else {
      std::fprintf(stderr, "corvane-bench busy: unknown argument '%s'\n", argv[i]);
      return 2;
    }
  }
  if (frames < 3000) std::fprintf(stderr, "corvane-bench busy: fewer than 3000 frames; figures are rough\n");
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  corvane::SetHeadless(true);
  setenv("ALSOFT_DRIVERS", "null", 0);
  if (!automation.captureDir.empty()) {
    char here[4096];
    if (automation.captureDir[0] != '/' && getcwd(here, sizeof here))
      automation.captureDir = std::string(here) + "/" + automation.captureDir;
    automation.captureFrames.ranges = {{1, 2}};
    if (!corvane::StartAutomation(automation)) return 1;
  }
  if (chdir(data.c_str()) != 0) {
    std::fprintf(stderr, "corvane-bench busy: cannot enter the data folder '%s'\n", data.c_str());
    return 1;
  }
  corvane::d3dx9::StartPicturePrefetch();  // as the program's entry point does

  const double startUpBegin = Seconds(CLOCK_MONOTONIC);
  static int instance;
  if (!StartUp(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL)) {
    std::fprintf(stderr, "corvane-bench busy: start-up failed\n");
    return 1;
  }
  const double startUpDone = Seconds(CLOCK_MONOTONIC);
  lastFrameTime = timeGetTime() - 1000;
  TitleFrame();
  const double firstTitle = Seconds(CLOCK_MONOTONIC);
  const double startUpCpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);  // since process start, every thread
  rusage children;  // the mesh import's child processes, when they run
  getrusage(RUSAGE_CHILDREN, &children);
  const double childCpu = children.ru_utime.tv_sec + children.ru_stime.tv_sec +
                          (children.ru_utime.tv_usec + children.ru_stime.tv_usec) * 1e-6;
  const double sinceBoot = Seconds(CLOCK_BOOTTIME);
  const double fromProcessStart = processStart >= 0 ? sinceBoot - processStart : -1.0;

  if (memory) corvane::bench::PrintMemoryReport(stdout, "after start-up and the first title frame");
  corvane::d3d9::SetFragmentCounting(Gfx.device, countFragments);
  scene = SCENE_GAME;
  ResetRound();
  Round.mode = MODE_NORMAL;
  Round.phase = PHASE_FLYING;
  std::vector<double> updateMs, frameMs, cpuMs;
  corvane::d3d9::FrameStats total{};
  updateMs.reserve(frames), frameMs.reserve(frames), cpuMs.reserve(frames);
  const double runBegin = Seconds(CLOCK_MONOTONIC);
  for (int frame = 0; frame < frames; ++frame) {
    FillTheWorld(frame);
    const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double t0 = Seconds(CLOCK_MONOTONIC);
    UpdateGame();
    const double t1 = Seconds(CLOCK_MONOTONIC);
    DrawGameFrame();
    const double t2 = Seconds(CLOCK_MONOTONIC);
    const double cpu1 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    updateMs.push_back((t1 - t0) * 1e3);
    frameMs.push_back((t2 - t0) * 1e3);
    cpuMs.push_back((cpu1 - cpu0) * 1e3);
    const corvane::d3d9::FrameStats f = corvane::d3d9::LastFrameStats(Gfx.device);
    total.draws += f.draws, total.programChanges += f.programChanges, total.uniformCalls += f.uniformCalls;
    total.textureBinds += f.textureBinds, total.clears += f.clears;
    total.vertexBytes += f.vertexBytes, total.indexBytes += f.indexBytes;
    for (int k = 0; k < corvane::d3d9::kFragmentPassCount; ++k) total.fragments[k] += f.fragments[k];
  }
  const double runSeconds = Seconds(CLOCK_MONOTONIC) - runBegin;
  if (Player.crashed || Round.phase != PHASE_FLYING)
    std::fprintf(stderr, "corvane-bench busy: the round left flight (phase %d); figures are not of the busy scene\n",
                 Round.phase);

  corvane::d3d9::SetFragmentCounting(Gfx.device, false);
  const std::string passTable = weighPasses ? WeighPasses(frames, total, countFragments ? frames : 0) : "";

  std::vector<double> fieldMs, gateMs;
  for (int i = 0; i < frames; ++i) (i % 2 ? gateMs : fieldMs).push_back(frameMs[i]);
  if (memory) corvane::bench::PrintMemoryReport(stdout, "after the busy frames");
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  ShutDown();
  corvane::FinishAutomation();
  std::printf("busy scene, %d game frames (800 x 600, headless)\n", frames);
  if (fromProcessStart >= 0)
    std::printf("start-up to first title frame: %.0f ms from process start (start-up %.0f ms, title frame %.1f ms),\n"
                "              %.0f ms of CPU, %.0f ms more in child processes\n",
                fromProcessStart * 1e3, (startUpDone - startUpBegin) * 1e3, (firstTitle - startUpDone) * 1e3,
                startUpCpu * 1e3, childCpu * 1e3);
  corvane::bench::PrintStartupReport(
      stdout, {processStart >= 0 ? mainEntered - (mainEnteredSinceBoot - processStart) : -1.0, mainEntered,
               startUpBegin, startUpDone, firstTitle});
  std::printf("update        median %7.3f ms   p99 %7.3f ms\n", Percentile(updateMs, 0.5), Percentile(updateMs, 0.99));
  std::printf("whole frame   median %7.3f ms   p99 %7.3f ms   (30 obstacles %.3f, gate panel %.3f median)\n",
              Percentile(frameMs, 0.5), Percentile(frameMs, 0.99), Percentile(fieldMs, 0.5), Percentile(gateMs, 0.5));
  std::printf("frame CPU     median %7.3f ms   p99 %7.3f ms   (all threads of the process)\n", Percentile(cpuMs, 0.5),
              Percentile(cpuMs, 0.99));
  std::printf("sustainable   %.0f frames/s at the median frame, %.0f frames/s over the run\n",
              1000.0 / Percentile(frameMs, 0.5), frames / runSeconds);
  std::printf("per frame     %.0f draws, %.0f program changes, %.0f uniform calls, %.0f texture binds, %.1f clears,\n"
              "              %.2f MiB vertices and %.2f MiB indices streamed\n",
              (double)total.draws / frames, (double)total.programChanges / frames,
              (double)total.uniformCalls / frames, (double)total.textureBinds / frames, (double)total.clears / frames,
              total.vertexBytes / 1048576.0 / frames, total.indexBytes / 1048576.0 / frames);
  if (countFragments) {
    const double screen = 800.0 * 600.0 * frames;
    std::printf("overdraw     in screens a frame: lit meshes %.2f, additive %.2f, other blended %.2f, opaque %.2f,\n"
                "              onto the back buffer (composite and HUD) %.2f (times are not of the normal run)\n",
                total.fragments[0] / screen, total.fragments[1] / screen, total.fragments[2] / screen,
                total.fragments[3] / screen, total.fragments[4] / screen);
  }
  std::fputs(passTable.c_str(), stdout);
  std::printf("peak memory   %.1f MiB resident\n", usage.ru_maxrss / 1024.0);
  std::printf("busy: median %.1f ms, p99 %.1f ms, start-up %.0f ms, peak %.0f MiB\n", Percentile(frameMs, 0.5),
              Percentile(frameMs, 0.99), (fromProcessStart >= 0 ? fromProcessStart : firstTitle - startUpBegin) * 1e3,
              usage.ru_maxrss / 1024.0);
  return 0;
}
