#include <windows.h>

#include "common/key_bindings.h"
#include "common/settings_file.h"
#include "win32/gamepad.h"
#include "win32/key_state.h"

namespace corvane {

std::bitset<256> ControllerKeys(const bool* buttons, int count, int stickX, int stickY) {
  std::bitset<256> keys;
  for (int b = 0; b < count; ++b)
    if (buttons[b]) {
      int vk = GameKeyFromControllerButton(b);
      if (vk) keys.set(vk);
    }
  if (stickX <= -STICK_DEAD_ZONE) keys.set(VK_LEFT);
  if (stickX >= STICK_DEAD_ZONE) keys.set(VK_RIGHT);
  if (stickY <= -STICK_DEAD_ZONE) keys.set(VK_UP);
  if (stickY >= STICK_DEAD_ZONE) keys.set(VK_DOWN);
  return keys;
}

void HoldControllerKeys(std::bitset<256>& held, const std::bitset<256>& now) {
  for (int vk = 1; vk < 256; ++vk)
    if (now[vk] != held[vk]) SetGamepadKey(vk, now[vk]);
  held = now;
}

}  // namespace corvane
