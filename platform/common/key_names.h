// Keyboard keys by the names the settings file and scripts use (SDL's key
// names: "Up", "Return", "A", "F5", "Left Shift" ...). Each build has its
// own key codes: SDL scancodes on Linux, virtual keys on Windows.
#pragma once

#include <string>

namespace corvane {

// The key code of a name (any letter case); 0 when no key has that name.
int KeyCodeFromName(const std::string& name);

// A key code's name, as the settings file writes it.
std::string KeyCodeName(int code);

// The virtual key a key code stands for when nothing rebinds it; 0 for none.
int VirtualKeyFromKeyCode(int code);

}  // namespace corvane
