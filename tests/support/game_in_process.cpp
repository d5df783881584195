#include "support/game_in_process.h"

#include <windows.h>

#include <unistd.h>

#include "app/startup.h"
#include "support/corvane_run.h"

bool StartGameInProcess() {
  static const bool started = [] {
    if (chdir(MakeScratchDataDir().c_str()) != 0) return false;
    static int instance;
    return StartUp(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL);
  }();
  return started;
}
