// Whether the Windows build hooks the device's Present: only when an
// automation option counts frames (a script, --frames, a dump, a capture or
// the sound trace, whose lines carry the frame).
#pragma once

namespace corvane {

void UseFrameHooks(bool on);

}  // namespace corvane
