// The real clock behind timeGetTime and the performance counter.
#pragma once

namespace corvane {
// Stops the real clock (true) and lets it go on (false) without a jump: the
// time it stood still never shows in timeGetTime or the performance counter.
void HoldClock(bool hold);
}  // namespace corvane
