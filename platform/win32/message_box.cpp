// MessageBoxA: an SDL message box, and the same text as one line on stderr so
// that a run without a display still says what went wrong. An error box that
// comes when the platform knows why start-up failed says that reason instead.
#include <windows.h>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "internal/startup_problem.h"
#include "internal/window_internal.h"

namespace corvane {
namespace {
std::string startupProblem;
}  // namespace

void NoteStartupProblem(const std::string& problem) {
  if (startupProblem.empty()) startupProblem = problem;
}

const std::string& StartupProblem() { return startupProblem; }

}  // namespace corvane

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  const char* caption = lpCaption ? lpCaption : "Error";
  std::string text = lpText ? lpText : "";
  UINT icon = uType & 0xF0;
  const std::string& reason = corvane::StartupProblem();
  if (icon == MB_ICONHAND && !reason.empty()) {
    std::fprintf(stderr, "corvane: %s\n", reason.c_str());
    text += "\n\n" + reason;
  } else {
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stderr, "%s: %s\n", caption, line.c_str());
  }
  std::fflush(stderr);
  if (corvane::IsHeadless()) return IDOK;
  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  if (icon == MB_ICONHAND) flags = SDL_MESSAGEBOX_ERROR;
  else if (icon == MB_ICONEXCLAMATION) flags = SDL_MESSAGEBOX_WARNING;
  SDL_ShowSimpleMessageBox(flags, caption, text.c_str(), corvane::SdlWindowFromHwnd(hWnd));
  return IDOK;
}
