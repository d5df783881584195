// Key state behind GetAsyncKeyState, fed by SDL events or by the script.
#pragma once

union SDL_Event;

namespace corvane {

// Updates the key table from one SDL event (key, mouse button, focus).
// Returns the virtual key of a key press, or 0.
int TrackKeyEvent(const SDL_Event& event);

// With a script the keys it knows ignore the keyboard.
void SetScriptOwnsKeys(bool owns);
bool ScriptOwnsKey(int vk);

// Virtual-key code for an SDL scancode; 0 when the game has no name for it.
int VirtualKeyFromScancode(int scancode);

// Forgets every key (down and pressed), as on focus loss.
void ClearKeyState();

}  // namespace corvane
