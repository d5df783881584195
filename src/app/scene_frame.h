// The frame shape shared by the two front-end screens, and the frame
// functions the main loop dispatches to.
#pragma once

void TitleFrame();
void ModeSelectFrame();
