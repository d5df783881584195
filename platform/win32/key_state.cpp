// GetAsyncKeyState: bit 15 = down now, bit 0 = pressed since the previous
// query of that key. Kept per virtual key; a query clears the pressed bit.
// The keyboard (or the script) and the game controllers are separate
// sources: a key is down while any source holds it.
#include <windows.h>

#include "common/comfort_keys.h"
#include "common/key_bindings.h"
#include "common/key_table.h"
#include "internal/automation.h"
#include "win32/key_state.h"

namespace corvane {
namespace {

bool keyDown[256];      // keyboard, mouse or script
int padHolds[256];      // controller inputs holding the key
bool keyPressed[256];
bool focused = true;
bool scriptOwnsKeys = false;
bool enterSwallowed = false;  // the Enter of an Alt+Enter, until released
bool fullscreenToggleRequested = false;
bool screenshotRequested = false;

bool IsScriptKey(int vk) {
  switch (vk) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_RETURN: case VK_ESCAPE: case 'D':
    case VK_MENU: case VK_LMENU: case VK_RMENU: case VK_F11: case VK_F12:
      return true;
    default:
      return false;
  }
}

bool AltHeld() { return keyDown[VK_MENU] || keyDown[VK_LMENU] || keyDown[VK_RMENU]; }

// An Enter going down while Alt is held switches fullscreen and is hidden
// from the game until it comes back up. True when the change is swallowed.
bool SwallowAltEnter(int vk, bool down) {
  if (vk != VK_RETURN) return false;
  if (!down) {
    bool was = enterSwallowed;
    enterSwallowed = false;
    return was;
  }
  if (enterSwallowed) return true;
  if (keyDown[VK_RETURN] || !AltHeld()) return false;
  enterSwallowed = true;
  fullscreenToggleRequested = true;
  return true;
}

// The player comforts act on a fresh press, never on auto-repeat.
void NoteFreshPress(int vk) {
  if (vk == VK_F11) fullscreenToggleRequested = true;
  if (vk == VK_F12) screenshotRequested = true;
}

// Keyboard: auto-repeat presses count again, as they do on Windows.
bool SetKey(int vk, bool down, bool repeat) {
  if (vk <= 0 || vk > 255) return true;
  if (SwallowAltEnter(vk, down)) return false;
  if (down && !keyDown[vk] && !repeat) NoteFreshPress(vk);
  if (down) keyPressed[vk] = true;
  keyDown[vk] = down;
  return true;
}

// Left/right variants also drive the generic key.
bool SetKeyWithSide(int vk, bool down, bool repeat) {
  bool reaches = SetKey(vk, down, repeat);
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: SetKey(VK_SHIFT, down, repeat); break;
    case VK_LCONTROL: case VK_RCONTROL: SetKey(VK_CONTROL, down, repeat); break;
    case VK_LMENU: case VK_RMENU: SetKey(VK_MENU, down, repeat); break;
    default: break;
  }
  return reaches;
}

}  // namespace

int VirtualKeyFromScancode(int scancode) {
  if (scancode >= SCANCODE_A && scancode <= SCANCODE_Z) return 'A' + (scancode - SCANCODE_A);
  if (scancode >= SCANCODE_1 && scancode <= SCANCODE_9) return '1' + (scancode - SCANCODE_1);
  if (scancode >= SCANCODE_F1 && scancode <= SCANCODE_F12) return VK_F1 + (scancode - SCANCODE_F1);
  if (scancode >= SCANCODE_KP_1 && scancode <= SCANCODE_KP_9)
    return VK_NUMPAD0 + 1 + (scancode - SCANCODE_KP_1);
  switch (scancode) {
    case SCANCODE_0: return '0';
    case SCANCODE_KP_0: return VK_NUMPAD0;
    case SCANCODE_RETURN: case SCANCODE_KP_ENTER: return VK_RETURN;
    case SCANCODE_ESCAPE: return VK_ESCAPE;
    case SCANCODE_SPACE: return VK_SPACE;
    case SCANCODE_BACKSPACE: return VK_BACK;
    case SCANCODE_TAB: return VK_TAB;
    case SCANCODE_LEFT: return VK_LEFT;
    case SCANCODE_UP: return VK_UP;
    case SCANCODE_RIGHT: return VK_RIGHT;
    case SCANCODE_DOWN: return VK_DOWN;
    case SCANCODE_PAGEUP: return VK_PRIOR;
    case SCANCODE_PAGEDOWN: return VK_NEXT;
    case SCANCODE_HOME: return VK_HOME;
    case SCANCODE_END: return VK_END;
    case SCANCODE_INSERT: return VK_INSERT;
    case SCANCODE_DELETE: return VK_DELETE;
    case SCANCODE_PAUSE: return VK_PAUSE;
    case SCANCODE_LSHIFT: return VK_LSHIFT;
    case SCANCODE_RSHIFT: return VK_RSHIFT;
    case SCANCODE_LCTRL: return VK_LCONTROL;
    case SCANCODE_RCTRL: return VK_RCONTROL;
    case SCANCODE_LALT: return VK_LMENU;
    case SCANCODE_RALT: return VK_RMENU;
    default: return 0;
  }
}

int TrackKeyboardKey(int scancode, bool down, bool repeat, bool* reachesGame) {
  if (reachesGame) *reachesGame = true;
  int comfort = ComfortFromKeyCode(scancode);
  if (comfort >= 0 && down && !repeat) RequestComfort(comfort);
  int vk = GameKeyFromKeyCode(scancode);
  if (vk == 0 || ScriptOwnsKey(vk)) return 0;
  bool reaches = SetKeyWithSide(vk, down, repeat);
  if (reachesGame) *reachesGame = reaches;
  return down && reaches ? vk : 0;
}

void TrackMouseButton(int vk, bool down) { SetKey(vk, down, false); }

// The key-ups of a window without focus never arrive: forget everything.
void TrackKeyboardFocus(bool gained) {
  focused = gained;
  if (!gained) ClearKeyState();
}

LPARAM KeyMessageLParam(int scancode, bool down, bool repeat) {
  LPARAM count = 1;
  LPARAM scan = (LPARAM)(scancode & 0xFF) << 16;
  LPARAM previous = (!down || repeat) ? (LPARAM)1 << 30 : 0;
  LPARAM transition = down ? 0 : (LPARAM)1 << 31;
  return count | scan | previous | transition;
}

void SetGamepadKey(int vk, bool down) {
  if (vk <= 0 || vk > 255 || ScriptOwnsKey(vk)) return;
  if (down) {
    if (padHolds[vk]++ == 0 && !keyDown[vk]) keyPressed[vk] = true;
  } else if (padHolds[vk] > 0) {
    --padHolds[vk];
  }
}

void ClearKeyState() {
  for (int vk = 0; vk < 256; ++vk) {
    if (ScriptOwnsKey(vk)) continue;
    keyDown[vk] = false;
    keyPressed[vk] = false;
  }
  if (!scriptOwnsKeys) enterSwallowed = false;
}

void SetScriptOwnsKeys(bool owns) { scriptOwnsKeys = owns; }
bool ScriptOwnsKey(int vk) { return scriptOwnsKeys && IsScriptKey(vk); }

void SetVirtualKey(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  if (SwallowAltEnter(vk, down)) return;
  if (down && !keyDown[vk]) {
    keyPressed[vk] = true;
    NoteFreshPress(vk);
  }
  keyDown[vk] = down;
}

bool TakeFullscreenToggleRequest() {
  bool requested = fullscreenToggleRequested;
  fullscreenToggleRequested = false;
  return requested;
}

bool TakeScreenshotRequest() {
  bool requested = screenshotRequested;
  screenshotRequested = false;
  return requested;
}

}  // namespace corvane

extern "C" SHORT WINAPI GetAsyncKeyState(int vKey) {
  using namespace corvane;
  if (vKey <= 0 || vKey > 255) return 0;
  if (!focused && !ScriptOwnsKey(vKey)) return 0;
  bool down = keyDown[vKey] || padHolds[vKey] > 0;
  SHORT state = (SHORT)((down ? 0x8000 : 0) | (keyPressed[vKey] ? 0x0001 : 0));
  keyPressed[vKey] = false;
  return state;
}
