// Window classes and windows on SDL2. A window's client area is the SDL
// window; the frame that AdjustWindowRect adds is a fixed set of metrics so
// that window sizes and client sizes convert back and forth exactly. The
// SDL window is the game's client size times a scale that fits the screen
// (or --scale N); the game keeps seeing its own sizes.
#include <windows.h>

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/startup_marks.h"
#include "internal/window_internal.h"
#include "win32/x11_errors.h"
#include "win32/gamepad.h"
#include "win32/window_classes.h"
#include "win32/window_icon.h"
#include "win32/window_registry.h"
#include "win32/window_scale.h"

struct HWND__ {
  SDL_Window* sdl = nullptr;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  std::string title;
  double scale = 1.0;
  bool destroyed = false;
};

namespace corvane {
namespace {

std::vector<std::unique_ptr<HWND__>> windows;
bool headless = false;
bool startFullscreen = false;
int requestedScale = 0;

HWND__* Record(HWND hwnd) {
  for (auto& w : windows)
    if (w.get() == hwnd) return w.get();
  return nullptr;
}

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

bool DriverShowsNothing() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
                    std::strcmp(driver, "evdev") == 0);
}

void SayNoDisplay() {
  std::fprintf(stderr, "corvane: no display found (DISPLAY and WAYLAND_DISPLAY are not set, or unreachable); "
               "run with --headless to play without a window\n");
}

// Without a display SDL falls back to a driver that shows nothing, and the
// game would run unseen. That is for --headless, or a driver the user named
// (SDL_VIDEODRIVER), which is looked at no further.
bool EnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  const char* chosen = SDL_GetHint(SDL_HINT_VIDEODRIVER);  // the hint, or else the variable
  bool mayRunUnseen = headless || (chosen && *chosen);
  if (!mayRunUnseen && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
    SayNoDisplay();
    return false;
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr, "corvane: cannot start the video system: %s\n", SDL_GetError());
    return false;
  }
  if (!mayRunUnseen && DriverShowsNothing()) {
    SayNoDisplay();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER);
    return false;
  }
  InstallKeyFilter();
  TolerateVanishedWindows();
  // Controllers are a comfort: the game plays on without them.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    std::fprintf(stderr, "corvane: game controllers are not available: %s\n", SDL_GetError());
  return true;
}

int Scaled(int size, double scale) {
  int scaled = (int)std::lround(size * scale);
  return scaled < 1 ? 1 : scaled;
}

double ScaleForNewWindow(DWORD style, int width, int height) {
  if (headless) return requestedScale > 0 ? requestedScale : 1.0;
  RECT frame = FrameFor(style);
  SDL_Rect usable = {0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable.w = usable.h = 0;
  return ChooseWindowScale(requestedScale, width, height, frame.left + frame.right, frame.top + frame.bottom,
                           usable.w, usable.h);
}

void ShowCursorFor(SDL_Window* sdl) {
  bool fullscreen = (SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN) != 0;
  SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
}

}  // namespace

SDL_Window* SdlWindowFromHwnd(HWND hwnd) {
  HWND__* w = Record(hwnd);
  return w ? w->sdl : nullptr;
}

void DrawableSizeFromHwnd(HWND hwnd, int* width, int* height) {
  *width = *height = 0;
  if (HWND__* w = Record(hwnd)) SDL_GL_GetDrawableSize(w->sdl, width, height);
}

bool IsHeadless() { return headless; }
void SetHeadless(bool on) { headless = on; }

LRESULT SendToWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND__* w = Record(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(hwnd, message, wParam, lParam);
}

HWND HwndFromSdlWindowId(uint32_t id) {
  for (auto& w : windows)
    if (!w->destroyed && SDL_GetWindowID(w->sdl) == id) return w.get();
  return nullptr;
}

int LiveWindows(HWND* out, int capacity) {
  int n = 0;
  for (auto& w : windows)
    if (!w->destroyed && n < capacity) out[n++] = w.get();
  return n;
}

void DestroyAllSdlWindows() {
  CloseGamepads();
  for (auto& w : windows) SDL_DestroyWindow(w->sdl);
  windows.clear();
}

void SetStartFullscreen(bool fullscreen) { startFullscreen = fullscreen; }
void SetRequestedScale(int scale) { requestedScale = scale; }

bool IsFullscreen(HWND hwnd) {
  HWND__* w = Record(hwnd);
  return w && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_FULLSCREEN) != 0;
}

void ToggleFullscreen(HWND hwnd) {
  HWND__* w = Record(hwnd);
  if (!w || w->destroyed) return;
  Uint32 next = IsFullscreen(hwnd) ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (SDL_SetWindowFullscreen(w->sdl, next) != 0)
    std::fprintf(stderr, "corvane: cannot switch fullscreen: %s\n", SDL_GetError());
  ShowCursorFor(w->sdl);
}

bool SetWindowTitle(HWND hwnd, const char* title) {
  HWND__* w = Record(hwnd);
  if (!w || w->destroyed) return false;
  w->title = title;
  SDL_SetWindowTitle(w->sdl, title);
  return true;
}

const std::string* WindowTitle(HWND hwnd) {
  HWND__* w = Record(hwnd);
  return w ? &w->title : nullptr;
}

// The SDL window is the client area times the window's scale.
bool ClientSize(HWND hwnd, int* width, int* height) {
  HWND__* w = Record(hwnd);
  if (!w) return false;
  SDL_GetWindowSize(w->sdl, width, height);
  *width = int(std::lround(*width / w->scale));
  *height = int(std::lround(*height / w->scale));
  return true;
}

}  // namespace corvane

using namespace corvane;

extern "C" {

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam) {
  const corvane::StartupTimer timer(corvane::StartupPart::Window);
  const WNDCLASSA* cls = FindWindowClass(lpClassName);
  if (!cls || !EnsureVideo()) return nullptr;

  RECT frame = FrameFor(dwStyle);
  int width = 0, height = 0;
  ClientSizeFor(dwStyle, nWidth, nHeight, &width, &height);
  int x = X == CW_USEDEFAULT ? (int)SDL_WINDOWPOS_CENTERED : X + frame.left;
  int y = X == CW_USEDEFAULT ? (int)SDL_WINDOWPOS_CENTERED : Y + frame.top;
  double scale = ScaleForNewWindow(dwStyle, width, height);

  // The Direct3D device draws through OpenGL 3.3 core on this window.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  if (dwStyle & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
  if (startFullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  SDL_Window* sdl = SDL_CreateWindow(lpWindowName ? lpWindowName : "", x, y, Scaled(width, scale),
                                     Scaled(height, scale), flags);
  if (!sdl) {
    std::fprintf(stderr, "corvane: cannot create the window: %s\n", SDL_GetError());
    return nullptr;
  }

  auto record = std::make_unique<HWND__>();
  record->sdl = sdl;
  record->proc = cls->lpfnWndProc;
  record->style = dwStyle;
  record->title = lpWindowName ? lpWindowName : "";
  record->scale = scale;
  if (IsProgramIcon(cls->hIcon)) SetProgramIcon(sdl);
  ShowCursorFor(sdl);
  HWND hwnd = record.get();
  windows.push_back(std::move(record));
  SendToWindowProc(hwnd, WM_CREATE, 0, 0);
  if (dwStyle & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  HWND__* w = Record(hWnd);
  if (!w || w->destroyed) return FALSE;
  // The SDL window outlives the handle: a device may still draw on it
  // while the program shuts down.
  SDL_HideWindow(w->sdl);
  SendToWindowProc(hWnd, WM_DESTROY, 0, 0);
  w->destroyed = true;
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  HWND__* w = Record(hWnd);
  if (!w || w->destroyed) return FALSE;
  BOOL wasVisible = (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
  if (nCmdShow == SW_HIDE) {
    SDL_HideWindow(w->sdl);
    return wasVisible;
  }
  if (!headless) SDL_ShowWindow(w->sdl);
  if (nCmdShow == SW_SHOWMAXIMIZED) SDL_MaximizeWindow(w->sdl);
  else if (nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINIMIZED) SDL_MinimizeWindow(w->sdl);
  else if (nCmdShow == SW_RESTORE) SDL_RestoreWindow(w->sdl);
  return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hWnd) { return Record(hWnd) ? TRUE : FALSE; }

HWND WINAPI SetFocus(HWND hWnd) {
  HWND__* w = Record(hWnd);
  if (w && !headless && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_SHOWN)) SDL_RaiseWindow(w->sdl);
  return nullptr;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  HWND__* w = Record(hWnd);
  if (!w || w->destroyed) return FALSE;
  RECT frame = FrameFor(w->style);
  if (!(uFlags & SWP_NOSIZE)) {
    int width = cx - frame.left - frame.right, height = cy - frame.top - frame.bottom;
    SDL_SetWindowSize(w->sdl, Scaled(width, w->scale), Scaled(height, w->scale));
  }
  if (!(uFlags & SWP_NOMOVE)) SDL_SetWindowPosition(w->sdl, X + frame.left, Y + frame.top);
  if (uFlags & SWP_SHOWWINDOW) ShowWindow(hWnd, SW_SHOW);
  if (uFlags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
  return TRUE;
}

}  // extern "C"
