// What the other API families need to know about a Win32 window on SDL2.
#pragma once

#include <windows.h>

struct SDL_Window;

namespace corvane {

// The SDL window behind a window handle made by CreateWindowExA; nullptr for
// a handle that was never a window. A destroyed window keeps its (hidden)
// SDL window until the program ends, so a device made on it stays usable
// through shutdown.
SDL_Window* SdlWindowFromHwnd(HWND hwnd);

// The window's client area in pixels of the drawable (high-DPI aware); 0 x 0
// for an unknown handle.
void DrawableSizeFromHwnd(HWND hwnd, int* width, int* height);

// True when the program runs without a display (--headless).
bool IsHeadless();

}  // namespace corvane
