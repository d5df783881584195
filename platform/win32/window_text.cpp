// A window's title and client area: the Win32 rules, on the record each
// backend (SDL, the web page's canvas) keeps through window_registry.h.
#include <windows.h>

#include <cstring>
#include <string>

#include "win32/window_registry.h"

extern "C" {

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  return corvane::SetWindowTitle(hWnd, lpString ? lpString : "") ? TRUE : FALSE;
}

// Copies at most nMaxCount - 1 characters and always ends the text.
int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  const std::string* title = corvane::WindowTitle(hWnd);
  if (!title || !lpString || nMaxCount <= 0) return 0;
  const int n = int(title->size()) < nMaxCount - 1 ? int(title->size()) : nMaxCount - 1;
  std::memcpy(lpString, title->data(), size_t(n));
  lpString[n] = '\0';
  return n;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  int width = 0, height = 0;
  if (!lpRect || !corvane::ClientSize(hWnd, &width, &height)) return FALSE;
  *lpRect = RECT{0, 0, LONG(width), LONG(height)};
  return TRUE;
}

}  // extern "C"
