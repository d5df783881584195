// The window records behind HWND, shared by the window and message units.
#pragma once

#include <windows.h>

#include <cstdint>

namespace corvane {

// Sends a message straight to a window's procedure; 0 for an unknown window.
LRESULT SendToWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The window made from the SDL window with this id; nullptr if none.
HWND HwndFromSdlWindowId(uint32_t id);

// Every window that has not been destroyed, for SDL_QUIT.
int LiveWindows(HWND* out, int capacity);

// No window is ever shown (--headless).
void SetHeadless(bool headless);

// Destroys the SDL windows at the very end of the program.
void DestroyAllSdlWindows();

}  // namespace corvane

namespace corvane {
// Presses the close button of every live window (WM_CLOSE, sent at once).
void CloseAllWindows();
}  // namespace corvane
