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
