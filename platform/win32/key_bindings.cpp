#include "win32/key_bindings.h"

#include "common/settings_file.h"
#include "win32/key_state.h"

namespace corvane {
namespace {

Settings bindings;

}  // namespace

void SetKeyBindings(const Settings& settings) { bindings = settings; }

int GameKeyFromScancode(int scancode) {
  for (int action = 0; action < GAME_ACTION_COUNT; ++action)
    if (bindings.keys[action] == scancode) return ActionVirtualKey(action);
  int vk = VirtualKeyFromScancode(scancode);
  // An action's usual key (or a second key for it, as keypad Enter) is
  // silent once the action has been given a key that is not one of them.
  for (int action = 0; action < GAME_ACTION_COUNT; ++action)
    if (vk == ActionVirtualKey(action) && VirtualKeyFromScancode(bindings.keys[action]) != vk) return 0;
  return vk;
}

int ComfortFromScancode(int scancode) {
  for (int key = GAME_ACTION_COUNT; key < SETTINGS_KEY_COUNT; ++key)
    if (bindings.keys[key] == scancode) return key;
  return -1;
}

int GameKeyFromControllerButton(int button) {
  for (int action = 0; action < GAME_ACTION_COUNT; ++action)
    for (int b : bindings.buttons[action])
      if (b == button) return ActionVirtualKey(action);
  return 0;
}

}  // namespace corvane
