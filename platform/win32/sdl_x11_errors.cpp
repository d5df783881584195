#include "win32/x11_errors.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#ifdef CORVANE_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace corvane {

#ifdef CORVANE_HAVE_X11
namespace {

XErrorHandler previousHandler = nullptr;
bool reported = false;

int OnXError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow) {
    if (!reported) {
      std::fprintf(stderr, "corvane: ignored an X request about a window that had gone away\n");
      reported = true;
    }
    return 0;
  }
  return previousHandler ? previousHandler(display, error) : 0;
}

}  // namespace

void TolerateVanishedWindows() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0 || previousHandler) return;
  previousHandler = XSetErrorHandler(OnXError);
}
#else
void TolerateVanishedWindows() {}
#endif

}  // namespace corvane
