// What the other API families need to know about a Win32 window on SDL2.
#pragma once

#include <windows.h>

struct SDL_Window;

namespace corvane {

// The SDL window behind a window handle made by CreateWindowExA; nullptr for
// a handle that is not (or no longer) a live window.
SDL_Window* SdlWindowFromHwnd(HWND hwnd);

// The window's client area in pixels of the drawable (high-DPI aware); 0 x 0
// for an unknown handle.
void DrawableSizeFromHwnd(HWND hwnd, int* width, int* height);

// True when the program runs without a display (--headless).
bool IsHeadless();

}  // namespace corvane
