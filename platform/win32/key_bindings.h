// The player's keys and controller buttons for the game's actions and the
// comforts, from the settings. A key given to an action stands for that
// action's virtual key; the action's usual key then stands for nothing.
#pragma once

namespace corvane {

struct Settings;

void SetKeyBindings(const Settings& settings);

// The virtual key the game sees for an SDL scancode; 0 for none.
int GameKeyFromScancode(int scancode);

// The comfort (KEY_MUTE ... KEY_EFFECTS_UP) on a scancode; -1 for none.
int ComfortFromScancode(int scancode);

// The virtual key a controller button stands for; 0 for none.
int GameKeyFromControllerButton(int button);

}  // namespace corvane
