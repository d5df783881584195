// The web flavour's one window: the page's canvas (#canvas).
#pragma once

#include <windows.h>

namespace corvane {

// The canvas' CSS selector, for the HTML5 and WebGL calls.
constexpr const char* CANVAS_SELECTOR = "#canvas";

// True for a window made by CreateWindowExA and not yet destroyed.
bool IsLiveWindow(HWND hwnd);

// The game's window, which keyboard messages go to; nullptr before it exists.
HWND GameWindow();

}  // namespace corvane
