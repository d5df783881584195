// MessageBoxA: an SDL message box after the stderr line (message_box.h).
#include <windows.h>

#include <SDL.h>

#include "internal/window_internal.h"
#include "win32/message_box.h"

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  std::string text = corvane::ReportMessageBox(lpText, lpCaption, uType);
  if (corvane::IsHeadless()) return IDOK;
  UINT icon = uType & 0xF0;
  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  if (icon == MB_ICONHAND) flags = SDL_MESSAGEBOX_ERROR;
  else if (icon == MB_ICONEXCLAMATION) flags = SDL_MESSAGEBOX_WARNING;
  SDL_ShowSimpleMessageBox(flags, lpCaption ? lpCaption : "Error", text.c_str(), corvane::SdlWindowFromHwnd(hWnd));
  return IDOK;
}
