// The virtual clock of scripted runs and in-process tests: the time the
// game's timers read while it is on, moved only when advanced.
#pragma once

#include <cstdint>

namespace corvane {

// Turning it on starts it at the current monotonic time.
void UseVirtualClock(bool on);
bool VirtualClockActive();
void AdvanceVirtualClock(uint32_t ms);

// Moves the clock on by exactly 1000/60 ms (the fraction carried).
void AdvanceVirtualClockOneFrame();

// Scripted runs start their virtual clock at zero.
void ResetVirtualClockToZero();

// The clock's reading in nanoseconds.
uint64_t VirtualClockNanos();

}  // namespace corvane
