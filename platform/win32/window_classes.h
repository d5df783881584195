// Window classes, window frames and the stock icons and cursors: what every
// flavour's windows share.
#pragma once

#include <windows.h>

namespace corvane {

// The class registered under `name`; nullptr if none.
const WNDCLASSA* FindWindowClass(const char* name);

// Frame widths around the client area for a window style: fixed metrics,
// so that window sizes and client sizes convert back and forth exactly.
RECT FrameFor(DWORD style);

// The client size CreateWindowExA gives a window of this size and style
// (CW_USEDEFAULT: 800 x 600), at least 1 x 1.
void ClientSizeFor(DWORD style, int width, int height, int* clientWidth, int* clientHeight);

// True for the program's own icon (icon resource 101).
bool IsProgramIcon(HICON icon);

}  // namespace corvane
