// How large the game's window opens: the client size the game asks for
// times a scale that fits the screen.
#pragma once

namespace corvane {

// `requested` > 0 (--scale N) is used as it stands. Otherwise the largest
// whole multiple whose window (client plus `frameW` x `frameH` of frame)
// fits the usable screen area; below 1 when even the client size does not
// fit, so the window still fits. A screen of unknown size gives 1.
double ChooseWindowScale(int requested, int clientW, int clientH, int frameW, int frameH, int usableW,
                         int usableH);

}  // namespace corvane
