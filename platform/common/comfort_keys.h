// Presses of the comfort keys (mute, music and effects steps), from the
// keyboard or a script, wait here until the message loop carries them out.
#pragma once

namespace corvane {

// A fresh press of a comfort (KEY_MUTE ... KEY_EFFECTS_UP).
void RequestComfort(int key);

// Carries out the waiting presses in order: the levels change, the file is
// written back and the note shows.
void ApplyComfortRequests();

}  // namespace corvane
