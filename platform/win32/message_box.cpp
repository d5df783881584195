// MessageBoxA: an SDL message box, and the same text on stderr so that a
// run without a display still says what went wrong.
#include <windows.h>

#include <SDL.h>

#include <cstdio>

#include "internal/window_internal.h"

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  const char* caption = lpCaption ? lpCaption : "Error";
  const char* text = lpText ? lpText : "";
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  if (corvane::IsHeadless()) return IDOK;
  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  UINT icon = uType & 0xF0;
  if (icon == MB_ICONHAND) flags = SDL_MESSAGEBOX_ERROR;
  else if (icon == MB_ICONEXCLAMATION) flags = SDL_MESSAGEBOX_WARNING;
  SDL_ShowSimpleMessageBox(flags, caption, text, corvane::SdlWindowFromHwnd(hWnd));
  return IDOK;
}
