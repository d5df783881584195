// Game controllers as keys: any controller SDL (or, on the web, the
// browser's standard mapping) knows, plugged in before or during play. The
// left stick is the arrow keys; the buttons are the player's
// (key_bindings.h), by default the D-pad the arrows, A and Start Enter, B
// and Back Esc, X, Y and the shoulder buttons D.
#pragma once

#include <bitset>
#include <cstdint>

union SDL_Event;

namespace corvane {

// The keys a controller holds: its buttons (`count` of them, numbered as in
// common/settings_file.h) and its left stick (-32768..32767, y growing downwards).
std::bitset<256> ControllerKeys(const bool* buttons, int count, int stickX, int stickY);

// Presses and lets go of keys so that what a controller `held` becomes `now`.
void HoldControllerKeys(std::bitset<256>& held, const std::bitset<256>& now);

// Opens controllers as they arrive, follows their buttons and left stick,
// and lets go of everything a controller held when it is unplugged.
void TrackGamepadEvent(const SDL_Event& event);

// Closes every controller (program end).
void CloseGamepads();

}  // namespace corvane
