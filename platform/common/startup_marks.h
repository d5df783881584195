// Where start-up's time goes, for the benchmarks: the time spent inside the
// platform calls that make up start-up, and two moments. Timing a call costs
// four clock reads; a call made inside another timed one counts toward the
// outer one only.
#pragma once

namespace corvane {

enum class StartupPart {
  Window,       // CreateWindowExA: the video system and the window
  Device,       // CreateDevice: the GL stack, its context, the device's set-up
  SoundSystem,  // DirectSoundCreate8: the sound device and its context
  Meshes,       // D3DXLoadMeshFromXA
  Pictures,     // D3DXCreateTextureFromFileExA
  Count
};

enum class StartupMark {
  FirstSoundBuffer,  // the first CreateSoundBuffer of a secondary buffer
  FirstPresent,      // the first Present returns
  Count
};

struct StartupSpent {
  int calls = 0;
  double wallSeconds = 0;  // on the calling thread's clock
  double cpuSeconds = 0;   // the calling thread's CPU time
};

struct StartupMoment {
  bool taken = false;
  double wallSeconds = 0;  // CLOCK_MONOTONIC
  double cpuSeconds = 0;   // the whole process, every thread
};

// Times the enclosing scope as `part`.
class StartupTimer {
 public:
  explicit StartupTimer(StartupPart part);
  ~StartupTimer();
  StartupTimer(const StartupTimer&) = delete;
  StartupTimer& operator=(const StartupTimer&) = delete;

 private:
  StartupPart part_;
  bool outermost_;
  double wall_, cpu_;
};

StartupSpent StartupTimeIn(StartupPart part);

// Takes the moment the first time only.
void MarkStartup(StartupMark mark);
StartupMoment StartupMarkAt(StartupMark mark);

}  // namespace corvane
