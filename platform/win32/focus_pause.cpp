#include "win32/focus_pause.h"

#include "win32/timer.h"

namespace corvane {
namespace {

bool allowed = true;
bool paused = false;
void (*pauseListener)(bool) = nullptr;

}  // namespace

void AllowFocusPause(bool allow) { allowed = allow; }

void NoteFocus(bool focused) {
  bool pause = allowed && !focused;
  if (pause == paused) return;
  paused = pause;
  HoldClock(pause);
  if (pauseListener) pauseListener(pause);
}

bool PausedForFocus() { return paused; }

void SetFocusPauseListener(void (*listener)(bool paused)) { pauseListener = listener; }

}  // namespace corvane
