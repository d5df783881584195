// The main loop: window messages first, otherwise a frame of the current scene.
#pragma once

#include <windows.h>

// Handles messages and runs the current scene's frames until WM_QUIT;
// returns the quit message's wParam.
WPARAM RunMainLoop();

// One idle pass of the main loop: the current scene's frame if one is due,
// otherwise a wait until the next one is.
void RunScenePass();
