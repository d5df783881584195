#include "app/frame_pacer.h"

namespace {

// Frame k of a schedule is due at base + k/60 s, to the tick.
LONGLONG DueTime(const FramePacer& pacer, LONGLONG k) {
  return pacer.base + k * pacer.ticksPerSecond / GAME_FRAMES_PER_SECOND;
}

}  // namespace

LONGLONG PerformanceCounterNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

LONGLONG PerformanceCounterFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

void StartFramePacer(FramePacer& pacer, LONGLONG (*clock)(), LONGLONG ticksPerSecond) {
  pacer.clock = clock;
  pacer.ticksPerSecond = ticksPerSecond;
  RestartFramePacer(pacer);
}

void RestartFramePacer(FramePacer& pacer) {
  pacer.base = 0;
  pacer.index = 0;
  pacer.running = false;
}

bool GameFrameDue(FramePacer& pacer) {
  LONGLONG now = pacer.clock();
  if (!pacer.running) {
    pacer.base = now;
    pacer.index = 0;
    pacer.running = true;
  }
  if (now < DueTime(pacer, pacer.index)) return false;
  LONGLONG dueSoFar = (now - pacer.base) * GAME_FRAMES_PER_SECOND / pacer.ticksPerSecond + 1;
  if (dueSoFar - pacer.index > 1 + MAX_CATCH_UP_FRAMES) {
    // Too far behind: keep this frame and two catch-up frames, drop the rest.
    pacer.base = now - MAX_CATCH_UP_FRAMES * pacer.ticksPerSecond / GAME_FRAMES_PER_SECOND;
    pacer.index = 0;
  }
  ++pacer.index;
  return true;
}

DWORD MillisecondsUntilDue(const FramePacer& pacer) {
  if (!pacer.running) return 0;
  LONGLONG remaining = DueTime(pacer, pacer.index) - pacer.clock();
  if (remaining <= 0) return 0;
  return (DWORD)(remaining * 1000 / pacer.ticksPerSecond);
}

void RunPacedGamePass(FramePacer& pacer, void (*frame)()) {
  if (GameFrameDue(pacer)) {
    frame();
    return;
  }
  // Rounded down, so the wake-up is never after the due time; the loop
  // comes back within the last millisecond.
  Sleep(MillisecondsUntilDue(pacer));
}
