// Game controllers as keys: any controller SDL knows, plugged in before or
// during play. D-pad and left stick are the arrow keys, A and Start Enter,
// B and Back Esc, X, Y and the shoulder buttons D.
#pragma once

#include <cstdint>

union SDL_Event;

namespace corvane {

// The stick must leave the centre by this much (of 32767) to count.
constexpr int STICK_DEAD_ZONE = 12000;

// The virtual key a controller button stands for; 0 for none.
int VirtualKeyFromControllerButton(int button);

// Opens controllers as they arrive, follows their buttons and left stick,
// and lets go of everything a controller held when it is unplugged.
void TrackGamepadEvent(const SDL_Event& event);

// Closes every controller (program end).
void CloseGamepads();

}  // namespace corvane
