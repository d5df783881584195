// The player's keys and controller buttons for the game's actions and the
// comforts, from the settings. A key given to an action stands for that
// action's virtual key; the action's usual key then stands for nothing.
// Key codes are the build's own (key_names.h).
#pragma once

namespace corvane {

struct Settings;

void SetKeyBindings(const Settings& settings);

// The virtual key the game sees for a key code; 0 for none.
int GameKeyFromKeyCode(int code);

// The comfort (KEY_MUTE ... KEY_EFFECTS_UP) on a key code; -1 for none.
int ComfortFromKeyCode(int code);

// The virtual key a controller button (ControllerButton) stands for; 0 for none.
int GameKeyFromControllerButton(int button);

}  // namespace corvane
