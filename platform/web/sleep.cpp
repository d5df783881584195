// Sleep on the web: the game's own blocking loop hands the page back to the
// browser (Asyncify) for as long as it sleeps.
#include <windows.h>

#include <emscripten.h>

#include "common/virtual_clock.h"

extern "C" void WINAPI Sleep(DWORD dwMilliseconds) {
  // A virtual clock does not move while the program waits.
  if (corvane::VirtualClockActive()) return;
  emscripten_sleep(dwMilliseconds);
}
