// The application shell: start-up, the main loop and shutdown, run in that
// order by WinMain.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Start-up steps 1 to 5: the window class and the window with an 800 x 600
// client area and its caption. NULL when the window cannot be made.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);

// The whole start-up; false when WinMain must return 0.
bool StartUp(HINSTANCE instance, int showCommand);

// Handles messages and runs the current scene's frames until WM_QUIT;
// returns the quit message's wParam.
WPARAM RunMainLoop();

// One idle pass of the main loop: the current scene's frame if one is due,
// otherwise a wait until the next one is.
void RunScenePass();

void ShutDown();
