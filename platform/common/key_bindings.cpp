#include "common/key_bindings.h"

#include "common/key_names.h"
#include "common/settings_file.h"

namespace corvane {
namespace {

Settings bindings;

}  // namespace

void SetKeyBindings(const Settings& settings) { bindings = settings; }

int GameKeyFromKeyCode(int code) {
  for (int action = 0; action < GAME_ACTION_COUNT; ++action)
    if (bindings.keys[action] == code) return ActionVirtualKey(action);
  int vk = VirtualKeyFromKeyCode(code);
  // An action's usual key (or a second key for it, as keypad Enter) is
  // silent once the action has been given a key that is not one of them.
  for (int action = 0; action < GAME_ACTION_COUNT; ++action)
    if (vk == ActionVirtualKey(action) && VirtualKeyFromKeyCode(bindings.keys[action]) != vk) return 0;
  return vk;
}

int ComfortFromKeyCode(int code) {
  for (int key = GAME_ACTION_COUNT; key < SETTINGS_KEY_COUNT; ++key)
    if (bindings.keys[key] == code) return key;
  return -1;
}

int GameKeyFromControllerButton(int button) {
  for (int action = 0; action < GAME_ACTION_COUNT; ++action)
    for (int b : bindings.buttons[action])
      if (b == button) return ActionVirtualKey(action);
  return 0;
}

}  // namespace corvane
