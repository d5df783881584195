// Keyboard keys by their USB HID usage numbers, which are also SDL's
// scancodes, with SDL's name for each (the names the settings file and
// key:NAME in scripts use, key_names.h) and the browser's KeyboardEvent.code
// for it: the key codes of builds that have no SDL (the web flavour).
#pragma once

#include <string>

namespace corvane {

enum Scancode : int {
  SCANCODE_UNKNOWN = 0,
  SCANCODE_A = 4,
  SCANCODE_D = 7,
  SCANCODE_M = 16,
  SCANCODE_Z = 29,
  SCANCODE_1 = 30,
  SCANCODE_9 = 38,
  SCANCODE_0 = 39,
  SCANCODE_RETURN = 40,
  SCANCODE_ESCAPE,
  SCANCODE_BACKSPACE,
  SCANCODE_TAB,
  SCANCODE_SPACE,
  SCANCODE_F1 = 58,
  SCANCODE_F5 = 62,
  SCANCODE_F6,
  SCANCODE_F7,
  SCANCODE_F8,
  SCANCODE_F12 = 69,
  SCANCODE_PAUSE = 72,
  SCANCODE_INSERT,
  SCANCODE_HOME,
  SCANCODE_PAGEUP,
  SCANCODE_DELETE,
  SCANCODE_END,
  SCANCODE_PAGEDOWN,
  SCANCODE_RIGHT,
  SCANCODE_LEFT,
  SCANCODE_DOWN,
  SCANCODE_UP,
  SCANCODE_KP_ENTER = 88,
  SCANCODE_KP_1,
  SCANCODE_KP_9 = 97,
  SCANCODE_KP_0,
  SCANCODE_LCTRL = 224,
  SCANCODE_LSHIFT,
  SCANCODE_LALT,
  SCANCODE_LGUI,
  SCANCODE_RCTRL,
  SCANCODE_RSHIFT,
  SCANCODE_RALT,
  SCANCODE_RGUI,
};

// The scancode SDL calls `name` (any letter case); SCANCODE_UNKNOWN if none.
int ScancodeFromName(const std::string& name);

// SDL's name for a scancode; "" for one the table lacks.
std::string ScancodeName(int scancode);

// The scancode of a browser key code ("KeyA", "ArrowUp" ...); SCANCODE_UNKNOWN if none.
int ScancodeFromBrowserCode(const std::string& code);

}  // namespace corvane
