// Game controllers as keys: any controller SDL knows, plugged in before or
// during play. The left stick is the arrow keys; the buttons are the
// player's (key_bindings.h), by default the D-pad the arrows, A and Start
// Enter, B and Back Esc, X, Y and the shoulder buttons D.
#pragma once

#include <cstdint>

union SDL_Event;

namespace corvane {

// Opens controllers as they arrive, follows their buttons and left stick,
// and lets go of everything a controller held when it is unplugged.
void TrackGamepadEvent(const SDL_Event& event);

// Closes every controller (program end).
void CloseGamepads();

}  // namespace corvane
