// The virtual clock's per-pass step, used by the scripted main loop.
#pragma once

namespace corvane {

// Moves the virtual clock on by exactly 1000/60 ms (the fraction carried).
void AdvanceVirtualClockOneFrame();

}  // namespace corvane

namespace corvane {
// Scripted runs start their virtual clock at zero.
void ResetVirtualClockToZero();
}  // namespace corvane

namespace corvane {
// Stops the real clock (true) and lets it go on (false) without a jump: the
// time it stood still never shows in timeGetTime or the performance counter.
void HoldClock(bool hold);
}  // namespace corvane
