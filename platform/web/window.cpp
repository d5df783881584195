// Windows on the web: every window is the page's canvas, whose drawing
// buffer is the window's client size. The page scales it (keeping 4:3) and
// owns fullscreen, which needs a user gesture only the page's handlers have.
#include <windows.h>

#include <emscripten/html5.h>

#include <memory>
#include <string>
#include <vector>

#include "internal/window_internal.h"
#include "web/web_window.h"
#include "win32/window_classes.h"
#include "win32/window_registry.h"

struct HWND__ {
  WNDPROC proc = nullptr;
  DWORD style = 0;
  std::string title;
  int width = 0, height = 0;  // the client area, which the canvas' drawing buffer matches
  bool visible = false;
  bool destroyed = false;
};

namespace corvane {
namespace {

std::vector<std::unique_ptr<HWND__>> windows;
bool headless = false;

HWND__* Record(HWND hwnd) {
  for (auto& w : windows)
    if (w.get() == hwnd) return w.get();
  return nullptr;
}

HWND__* Live(HWND hwnd) {
  HWND__* w = Record(hwnd);
  return w && !w->destroyed ? w : nullptr;
}

}  // namespace

bool IsLiveWindow(HWND hwnd) { return Live(hwnd) != nullptr; }

HWND GameWindow() {
  HWND live[1];
  return LiveWindows(live, 1) == 1 ? live[0] : nullptr;
}

bool IsHeadless() { return headless; }
void SetHeadless(bool on) { headless = on; }

LRESULT SendToWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND__* w = Record(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(hwnd, message, wParam, lParam);
}

int LiveWindows(HWND* out, int capacity) {
  int n = 0;
  for (auto& w : windows)
    if (!w->destroyed && n < capacity) out[n++] = w.get();
  return n;
}

// The page decides the canvas' size on screen, fullscreen included.
void SetStartFullscreen(bool) {}
void SetRequestedScale(int) {}
void ToggleFullscreen(HWND) {}
bool IsFullscreen(HWND) { return false; }

// The page shows no title.
bool SetWindowTitle(HWND hwnd, const char* title) {
  HWND__* w = Live(hwnd);
  if (w) w->title = title;
  return w != nullptr;
}

const std::string* WindowTitle(HWND hwnd) {
  HWND__* w = Record(hwnd);
  return w ? &w->title : nullptr;
}

// The canvas' drawing buffer is the client area.
bool ClientSize(HWND hwnd, int* width, int* height) {
  const HWND__* w = Record(hwnd);
  if (w) {
    *width = w->width;
    *height = w->height;
  }
  return w != nullptr;
}

}  // namespace corvane

using namespace corvane;

extern "C" {

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
  const WNDCLASSA* cls = FindWindowClass(lpClassName);
  if (!cls) return nullptr;
  auto record = std::make_unique<HWND__>();
  record->proc = cls->lpfnWndProc;
  record->style = dwStyle;
  record->title = lpWindowName ? lpWindowName : "";
  ClientSizeFor(dwStyle, nWidth, nHeight, &record->width, &record->height);
  emscripten_set_canvas_element_size(CANVAS_SELECTOR, record->width, record->height);
  HWND hwnd = record.get();
  windows.push_back(std::move(record));
  SendToWindowProc(hwnd, WM_CREATE, 0, 0);
  if (dwStyle & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  HWND__* w = Live(hWnd);
  if (!w) return FALSE;
  w->visible = false;
  SendToWindowProc(hWnd, WM_DESTROY, 0, 0);
  w->destroyed = true;
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  HWND__* w = Live(hWnd);
  if (!w) return FALSE;
  BOOL wasVisible = w->visible ? TRUE : FALSE;
  w->visible = nCmdShow != SW_HIDE;
  return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hWnd) { return Record(hWnd) ? TRUE : FALSE; }

HWND WINAPI SetFocus(HWND hWnd) { return nullptr; }

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  HWND__* w = Live(hWnd);
  if (!w) return FALSE;
  if (!(uFlags & SWP_NOSIZE)) {
    RECT frame = FrameFor(w->style);
    w->width = cx - frame.left - frame.right > 1 ? cx - frame.left - frame.right : 1;
    w->height = cy - frame.top - frame.bottom > 1 ? cy - frame.top - frame.bottom : 1;
    emscripten_set_canvas_element_size(CANVAS_SELECTOR, w->width, w->height);
  }
  if (uFlags & SWP_SHOWWINDOW) ShowWindow(hWnd, SW_SHOW);
  if (uFlags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
  return TRUE;
}

}  // extern "C"
