#include "win32/window_classes.h"

#include <map>
#include <string>

namespace corvane {
namespace {

constexpr int CAPTION_HEIGHT = 23;
constexpr int SIZING_BORDER = 8;
constexpr int FIXED_BORDER = 3;
constexpr int DEFAULT_WIDTH = 800;
constexpr int DEFAULT_HEIGHT = 600;
constexpr int PROGRAM_ICON_RESOURCE = 101;

std::map<std::string, WNDCLASSA> windowClasses;
int iconToken, programIconToken, cursorToken;

}  // namespace

const WNDCLASSA* FindWindowClass(const char* name) {
  if (!name) return nullptr;
  auto found = windowClasses.find(name);
  return found == windowClasses.end() ? nullptr : &found->second;
}

RECT FrameFor(DWORD style) {
  RECT frame = {0, 0, 0, 0};
  int border = (style & WS_THICKFRAME) ? SIZING_BORDER : ((style & WS_CAPTION) ? FIXED_BORDER : 0);
  frame.left = frame.right = frame.bottom = border;
  frame.top = border + (((style & WS_CAPTION) == WS_CAPTION) ? CAPTION_HEIGHT : 0);
  return frame;
}

void ClientSizeFor(DWORD style, int width, int height, int* clientWidth, int* clientHeight) {
  RECT frame = FrameFor(style);
  int w = width == CW_USEDEFAULT ? DEFAULT_WIDTH : width - frame.left - frame.right;
  int h = height == CW_USEDEFAULT ? DEFAULT_HEIGHT : height - frame.top - frame.bottom;
  *clientWidth = w < 1 ? 1 : w;
  *clientHeight = h < 1 ? 1 : h;
}

bool IsProgramIcon(HICON icon) { return icon == reinterpret_cast<HICON>(&programIconToken); }

}  // namespace corvane

using namespace corvane;

extern "C" {

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
  if (!lpWndClass || !lpWndClass->lpszClassName || !lpWndClass->lpfnWndProc) return 0;
  if (windowClasses.count(lpWndClass->lpszClassName)) return 0;
  windowClasses[lpWndClass->lpszClassName] = *lpWndClass;
  return (ATOM)(0xC000 + windowClasses.size());
}

BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu) {
  if (!lpRect) return FALSE;
  RECT frame = FrameFor(dwStyle);
  lpRect->left -= frame.left;
  lpRect->top -= frame.top;
  lpRect->right += frame.right;
  lpRect->bottom += frame.bottom;
  return TRUE;
}

// Cursors and stock icons are the system's own here; the handles only need
// to be valid for a window class. The program's own icon resource is
// icon.png, set on the windows of a class that names it.
HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
  if (hInstance && lpIconName == MAKEINTRESOURCEA(PROGRAM_ICON_RESOURCE))
    return reinterpret_cast<HICON>(&programIconToken);
  return reinterpret_cast<HICON>(&iconToken);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) { return reinterpret_cast<HCURSOR>(&cursorToken); }

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_CLOSE) DestroyWindow(hWnd);
  return 0;
}

}  // extern "C"
