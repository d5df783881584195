#include "startup_report.h"

#include "common/startup_marks.h"

namespace corvane::bench {
namespace {

void Row(std::FILE* out, const char* what, double wallSeconds, double cpuSeconds) {
  if (cpuSeconds >= 0)
    std::fprintf(out, "  %-56s %6.1f ms %6.1f ms\n", what, wallSeconds * 1e3, cpuSeconds * 1e3);
  else
    std::fprintf(out, "  %-56s %6.1f ms\n", what, wallSeconds * 1e3);
}

}  // namespace

void PrintStartupReport(std::FILE* out, const StartupSpan& span) {
  std::fprintf(out, "start-up, where the time goes %38s %9s\n", "wall", "CPU");
  if (span.processStart >= 0)
    Row(out, "before main: loading and linking (10 ms ticks)", span.mainEntered - span.processStart, -1);
  Row(out, "main to start-up: the bench's own set-up", span.startUpBegin - span.mainEntered, -1);

  // The timed calls, and what start-up spent outside them.
  const struct {
    StartupPart part;
    const char* what;
  } parts[] = {
      {StartupPart::Window, "window: the video system"},
      {StartupPart::Device, "Direct3D device: the GL stack, its context"},
      {StartupPart::SoundSystem, "sound system: OpenAL's device and context"},
      {StartupPart::Meshes, "meshes"},
      {StartupPart::Pictures, "pictures"},
  };
  double timed = 0;
  for (const auto& p : parts) {
    const StartupSpent s = StartupTimeIn(p.part);
    char label[96];
    std::snprintf(label, sizeof label, "%s (%d)", p.what, s.calls);
    Row(out, label, s.wallSeconds, s.cpuSeconds);
    timed += s.wallSeconds;
  }
  const StartupMoment firstSound = StartupMarkAt(StartupMark::FirstSoundBuffer);
  double sounds = 0;
  if (firstSound.taken && firstSound.wallSeconds < span.startUpDone) {
    sounds = span.startUpDone - firstSound.wallSeconds;
    Row(out, "sounds and best scores: from the first sound buffer on", sounds, -1);
  }
  Row(out, "the rest of start-up: state, surfaces, light, fog", span.startUpDone - span.startUpBegin - timed - sounds,
      -1);
  Row(out, "first title frame: its draws and shader compiles", span.firstTitleDone - span.startUpDone, -1);
}

}  // namespace corvane::bench
