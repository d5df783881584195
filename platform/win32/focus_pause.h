// A window that loses focus during play stops the game: no frames run, the
// clock stands still and the sound pauses, so everything continues exactly
// where it was when focus returns. Runs under automation (--headless,
// --script) are never stopped.
#pragma once

namespace corvane {

// Off for automated runs.
void AllowFocusPause(bool allow);

// The game window's focus changed.
void NoteFocus(bool focused);

// True while the game stands still for want of focus.
bool PausedForFocus();

// Called with true when sound must pause, false when it may go on.
void SetFocusPauseListener(void (*listener)(bool paused));

}  // namespace corvane
