// winmm's millisecond timer and the performance counter, on a monotonic
// clock (performance.now() on the web); or, when automation asks for it, on
// a virtual clock that moves only when advanced. Sleep is each flavour's own.
#include <windows.h>
#include <mmsystem.h>

#include <ctime>

#include "common/virtual_clock.h"
#include "win32/timer.h"

namespace corvane {
namespace {

constexpr uint64_t NANOS_PER_SECOND = 1000000000ull;
constexpr uint64_t NANOS_PER_MILLI = 1000000ull;

uint64_t MonotonicNanos() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (uint64_t)ts.tv_sec * NANOS_PER_SECOND + (uint64_t)ts.tv_nsec;
}

uint64_t heldAt = 0;        // the real clock when it was stopped; 0 while it runs
uint64_t timeHeldNanos = 0;  // how long it has stood still in all

uint64_t RealNanos() { return (heldAt ? heldAt : MonotonicNanos()) - timeHeldNanos; }

uint64_t NowNanos() { return VirtualClockActive() ? VirtualClockNanos() : RealNanos(); }

}  // namespace

void HoldClock(bool hold) {
  if (hold && !heldAt) heldAt = MonotonicNanos();
  if (!hold && heldAt) {
    timeHeldNanos += MonotonicNanos() - heldAt;
    heldAt = 0;
  }
}

}  // namespace corvane

extern "C" {

DWORD WINAPI timeGetTime(void) { return (DWORD)(corvane::NowNanos() / corvane::NANOS_PER_MILLI); }

// The monotonic clock is already finer than a millisecond.
MMRESULT WINAPI timeBeginPeriod(UINT uPeriod) { return uPeriod == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }
MMRESULT WINAPI timeEndPeriod(UINT uPeriod) { return uPeriod == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount) {
  if (!lpPerformanceCount) return FALSE;
  lpPerformanceCount->QuadPart = (LONGLONG)corvane::NowNanos();
  return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency) {
  if (!lpFrequency) return FALSE;
  lpFrequency->QuadPart = (LONGLONG)corvane::NANOS_PER_SECOND;
  return TRUE;
}

}  // extern "C"
