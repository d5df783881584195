// Paces game frames at 60 per second on a monotonic clock, whatever the
// display's refresh rate or vsync setting. After a stall it runs at most
// MAX_CATCH_UP_FRAMES extra frames, then drops the rest of the lost time.
#pragma once

#include <windows.h>

constexpr LONGLONG GAME_FRAMES_PER_SECOND = 60;
constexpr LONGLONG MAX_CATCH_UP_FRAMES = 2;

struct FramePacer {
  LONGLONG (*clock)();      // current time in ticks
  LONGLONG ticksPerSecond;
  LONGLONG base;            // when frame 0 of the current schedule was due
  LONGLONG index;           // frames run in the current schedule
  bool running;
};

// The performance counter, the clock the game itself uses.
LONGLONG PerformanceCounterNow();
LONGLONG PerformanceCounterFrequency();

void StartFramePacer(FramePacer& pacer, LONGLONG (*clock)(), LONGLONG ticksPerSecond);

// The next frame becomes due at once (entering the game scene).
void RestartFramePacer(FramePacer& pacer);

// True when a game frame should run now; counts it as run.
bool GameFrameDue(FramePacer& pacer);

// Whole milliseconds until the next frame is due, rounded down.
DWORD MillisecondsUntilDue(const FramePacer& pacer);

// One main-loop pass of the game scene: the frame if it is due, otherwise a
// sleep that ends no later than its due time.
void RunPacedGamePass(FramePacer& pacer, void (*frame)());
