#include "common/virtual_clock.h"

#include <chrono>

namespace corvane {
namespace {

constexpr uint64_t NANOS_PER_SECOND = 1000000000ull;
constexpr uint64_t NANOS_PER_MILLI = 1000000ull;

bool active = false;
uint64_t nanos = 0;
uint64_t frameStepRemainder = 0;  // sixtieths of a nanosecond carried over

}  // namespace

void UseVirtualClock(bool on) {
  if (on && !active)
    nanos = (uint64_t)std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::steady_clock::now().time_since_epoch())
                .count();
  active = on;
  frameStepRemainder = 0;
}

bool VirtualClockActive() { return active; }

void AdvanceVirtualClock(uint32_t ms) { nanos += (uint64_t)ms * NANOS_PER_MILLI; }

void AdvanceVirtualClockOneFrame() {
  uint64_t step = NANOS_PER_SECOND + frameStepRemainder;
  nanos += step / 60;
  frameStepRemainder = step % 60;
}

void ResetVirtualClockToZero() {
  nanos = 0;
  frameStepRemainder = 0;
}

uint64_t VirtualClockNanos() { return nanos; }

}  // namespace corvane
