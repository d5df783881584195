// Key state behind GetAsyncKeyState, fed by the keyboard, game controllers or
// the script. Alt+Enter and F11 switch fullscreen and F12 asks for a
// screenshot; the message loop carries those out.
#pragma once

#include <windows.h>

union SDL_Event;

namespace corvane {

// Updates the key table from a keyboard key (by scancode) going down or up.
// Returns the virtual key of a key press, or 0. `reachesGame`, when given,
// is set false for the Enter of an Alt+Enter (its press, repeats and
// release), which must post no message either.
int TrackKeyboardKey(int scancode, bool down, bool repeat, bool* reachesGame = nullptr);
// A mouse button (VK_LBUTTON ...) and the window's keyboard focus.
void TrackMouseButton(int vk, bool down);
void TrackKeyboardFocus(bool gained);

// TrackKeyboardKey and the others for one SDL event (native flavour).
int TrackKeyEvent(const SDL_Event& event, bool* reachesGame = nullptr);

// WM_KEYDOWN / WM_KEYUP's lParam for a key.
LPARAM KeyMessageLParam(int scancode, bool down, bool repeat);

// A game-controller input holding (or letting go of) a key. Several inputs
// may hold one key; the key is down while any of them, or the keyboard, is.
void SetGamepadKey(int vk, bool down);

// With a script the keys it knows ignore the keyboard and the controllers.
void SetScriptOwnsKeys(bool owns);
bool ScriptOwnsKey(int vk);

// Virtual-key code for a scancode; 0 when the game has no name for it.
int VirtualKeyFromScancode(int scancode);

// Forgets every key (down and pressed), as on focus loss.
void ClearKeyState();

// Requests made by keys since the previous call; each is returned once.
bool TakeFullscreenToggleRequest();
bool TakeScreenshotRequest();

}  // namespace corvane
