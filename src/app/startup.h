// Start-up: the window, the device and the sound system, every asset, the
// first values of the game state and the best scores, before the main loop.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The window class and the window with an 800 x 600 client area and its
// caption. NULL when the window cannot be made.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);

// The whole start-up; false when WinMain must return 0.
bool StartUp(HINSTANCE instance, int showCommand);
