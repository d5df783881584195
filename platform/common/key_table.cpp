#include "common/key_table.h"

#include <strings.h>

namespace corvane {
namespace {

struct KeyName {
  int scancode;
  const char* name;     // SDL's
  const char* browser;  // KeyboardEvent.code
};

// Letters, digits, function keys and keypad digits are worked out below.
const KeyName KEYS[] = {
    {SCANCODE_RETURN, "Return", "Enter"},
    {SCANCODE_ESCAPE, "Escape", "Escape"},
    {SCANCODE_BACKSPACE, "Backspace", "Backspace"},
    {SCANCODE_TAB, "Tab", "Tab"},
    {SCANCODE_SPACE, "Space", "Space"},
    {45, "-", "Minus"},
    {46, "=", "Equal"},
    {47, "[", "BracketLeft"},
    {48, "]", "BracketRight"},
    {49, "\\", "Backslash"},
    {51, ";", "Semicolon"},
    {52, "'", "Quote"},
    {53, "`", "Backquote"},
    {54, ",", "Comma"},
    {55, ".", "Period"},
    {56, "/", "Slash"},
    {57, "CapsLock", "CapsLock"},
    {70, "PrintScreen", "PrintScreen"},
    {71, "ScrollLock", "ScrollLock"},
    {SCANCODE_PAUSE, "Pause", "Pause"},
    {SCANCODE_INSERT, "Insert", "Insert"},
    {SCANCODE_HOME, "Home", "Home"},
    {SCANCODE_PAGEUP, "PageUp", "PageUp"},
    {SCANCODE_DELETE, "Delete", "Delete"},
    {SCANCODE_END, "End", "End"},
    {SCANCODE_PAGEDOWN, "PageDown", "PageDown"},
    {SCANCODE_RIGHT, "Right", "ArrowRight"},
    {SCANCODE_LEFT, "Left", "ArrowLeft"},
    {SCANCODE_DOWN, "Down", "ArrowDown"},
    {SCANCODE_UP, "Up", "ArrowUp"},
    {83, "Numlock", "NumLock"},
    {84, "Keypad /", "NumpadDivide"},
    {85, "Keypad *", "NumpadMultiply"},
    {86, "Keypad -", "NumpadSubtract"},
    {87, "Keypad +", "NumpadAdd"},
    {SCANCODE_KP_ENTER, "Keypad Enter", "NumpadEnter"},
    {99, "Keypad .", "NumpadDecimal"},
    {101, "Application", "ContextMenu"},
    {SCANCODE_LCTRL, "Left Ctrl", "ControlLeft"},
    {SCANCODE_LSHIFT, "Left Shift", "ShiftLeft"},
    {SCANCODE_LALT, "Left Alt", "AltLeft"},
    {SCANCODE_LGUI, "Left GUI", "MetaLeft"},
    {SCANCODE_RCTRL, "Right Ctrl", "ControlRight"},
    {SCANCODE_RSHIFT, "Right Shift", "ShiftRight"},
    {SCANCODE_RALT, "Right Alt", "AltRight"},
    {SCANCODE_RGUI, "Right GUI", "MetaRight"},
};

// Names made from a prefix and a number or letter: "F5", "Keypad 7", "KeyQ".
struct KeyRun {
  int first, last;
  const char* namePrefix;
  const char* browserPrefix;
  char firstSymbol;  // what the first key's name ends in
};

const KeyRun RUNS[] = {
    {SCANCODE_A, SCANCODE_Z, "", "Key", 'A'},
    {SCANCODE_1, SCANCODE_9, "", "Digit", '1'},
    {SCANCODE_0, SCANCODE_0, "", "Digit", '0'},
    {SCANCODE_KP_1, SCANCODE_KP_9, "Keypad ", "Numpad", '1'},
    {SCANCODE_KP_0, SCANCODE_KP_0, "Keypad ", "Numpad", '0'},
};

std::string RunSymbol(const KeyRun& run, int scancode) {
  return std::string(1, char(run.firstSymbol + scancode - run.first));
}

std::string FunctionKeyName(int scancode) { return "F" + std::to_string(scancode - SCANCODE_F1 + 1); }

// Calls `visit(scancode, name, browser)` for every key until it returns true.
template <typename Visit>
int FindKey(Visit visit) {
  for (const KeyName& key : KEYS)
    if (visit(key.scancode, std::string(key.name), std::string(key.browser))) return key.scancode;
  for (const KeyRun& run : RUNS)
    for (int code = run.first; code <= run.last; ++code)
      if (visit(code, run.namePrefix + RunSymbol(run, code), run.browserPrefix + RunSymbol(run, code))) return code;
  for (int code = SCANCODE_F1; code <= SCANCODE_F12; ++code)
    if (visit(code, FunctionKeyName(code), FunctionKeyName(code))) return code;
  return SCANCODE_UNKNOWN;
}

}  // namespace

int ScancodeFromName(const std::string& name) {
  if (name.empty()) return SCANCODE_UNKNOWN;
  return FindKey(
      [&](int, const std::string& n, const std::string&) { return strcasecmp(n.c_str(), name.c_str()) == 0; });
}

std::string ScancodeName(int scancode) {
  std::string found;
  FindKey([&](int code, const std::string& n, const std::string&) {
    if (code == scancode) found = n;
    return code == scancode;
  });
  return found;
}

int ScancodeFromBrowserCode(const std::string& code) {
  if (code.empty()) return SCANCODE_UNKNOWN;
  return FindKey([&](int, const std::string&, const std::string& b) { return b == code; });
}

}  // namespace corvane
