// The window records behind HWND, shared by the window and message units.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvane {

// Sends a message straight to a window's procedure; 0 for an unknown window.
LRESULT SendToWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The window made from the SDL window with this id; nullptr if none.
HWND HwndFromSdlWindowId(uint32_t id);

// Every window that has not been destroyed, for SDL_QUIT.
int LiveWindows(HWND* out, int capacity);

// No window is ever shown (--headless).
void SetHeadless(bool headless);

// --fullscreen and --scale N (0: fit the screen), for windows made later.
void SetStartFullscreen(bool fullscreen);
void SetRequestedScale(int scale);

// Between the window and desktop fullscreen; the cursor hides in
// fullscreen. The picture keeps its shape (Present adds black bars).
void ToggleFullscreen(HWND hwnd);
bool IsFullscreen(HWND hwnd);

// A window's title and client area for the calls win32/window_text.cpp
// answers. SetWindowTitle stores and shows the title of a live window (false
// for an unknown or destroyed one); WindowTitle gives it for any window made,
// nullptr for an unknown handle; ClientSize is in the game's pixels, false
// for an unknown handle.
bool SetWindowTitle(HWND hwnd, const char* title);
const std::string* WindowTitle(HWND hwnd);
bool ClientSize(HWND hwnd, int* width, int* height);

// Destroys the SDL windows at the very end of the program.
void DestroyAllSdlWindows();

}  // namespace corvane

namespace corvane {
// Routes SDL's key events through the key state (see message_loop.cpp).
void InstallKeyFilter();

// Presses the close button of every live window (WM_CLOSE, sent at once).
void CloseAllWindows();

// True once the quit message has been taken from the queue: the game ran its
// main loop to the end rather than giving up at start-up.
bool QuitMessageFetched();
}  // namespace corvane
