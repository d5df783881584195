// MessageBoxA on the web: the stderr line (message_box.h); an error box also
// becomes the page's title, the page's way of saying a run failed.
#include <windows.h>

#include <emscripten.h>

#include <algorithm>
#include <string>

#include "win32/message_box.h"

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  std::string text = corvane::ReportMessageBox(lpText, lpCaption, uType);
  if ((uType & 0xF0) == MB_ICONHAND) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    EM_ASM({ document.title = 'corvane: error: ' + UTF8ToString($0); }, text.c_str());
  }
  return IDOK;
}
