// Game controllers in the Windows build, through XInput: the player's
// buttons (the settings' [controller]) and the left stick hold the game's
// keys, which the routed GetAsyncKeyState reports beside the keyboard's.
// XInput has no guide button, so a binding to it does nothing here.
#include <windows.h>
#include <xinput.h>

#include "common/key_bindings.h"
#include "common/settings_file.h"
#include "internal/automation.h"
#include "windows/controllers.h"

namespace corvane {
namespace {

// In ControllerButton order.
const WORD BUTTON_FLAGS[CONTROLLER_BUTTON_COUNT] = {
    XINPUT_GAMEPAD_A,          XINPUT_GAMEPAD_B,          XINPUT_GAMEPAD_X,          XINPUT_GAMEPAD_Y,
    XINPUT_GAMEPAD_BACK,       0,                         XINPUT_GAMEPAD_START,      XINPUT_GAMEPAD_LEFT_THUMB,
    XINPUT_GAMEPAD_RIGHT_THUMB, XINPUT_GAMEPAD_LEFT_SHOULDER, XINPUT_GAMEPAD_RIGHT_SHOULDER, XINPUT_GAMEPAD_DPAD_UP,
    XINPUT_GAMEPAD_DPAD_DOWN,  XINPUT_GAMEPAD_DPAD_LEFT,  XINPUT_GAMEPAD_DPAD_RIGHT};

// Asking XInput about an empty slot is slow, so the slots are read once a
// frame, and an empty one only once a second.
constexpr int EMPTY_SLOT_FRAMES = 60;

XINPUT_GAMEPAD pads[XUSER_MAX_COUNT];
bool connected[XUSER_MAX_COUNT];
int lookedAt[XUSER_MAX_COUNT] = {-EMPTY_SLOT_FRAMES, -EMPTY_SLOT_FRAMES, -EMPTY_SLOT_FRAMES, -EMPTY_SLOT_FRAMES};
int readForFrame = -1;
bool heldAtLastQuery[256];

void ReadPads() {
  const int frame = CurrentFrame();
  if (frame == readForFrame) return;
  readForFrame = frame;
  for (DWORD slot = 0; slot < XUSER_MAX_COUNT; ++slot) {
    if (!connected[slot] && frame - lookedAt[slot] < EMPTY_SLOT_FRAMES) continue;
    lookedAt[slot] = frame;
    XINPUT_STATE state;
    connected[slot] = XInputGetState(slot, &state) == ERROR_SUCCESS;
    pads[slot] = connected[slot] ? state.Gamepad : XINPUT_GAMEPAD{};
  }
}

// XInput's stick y grows upwards.
bool StickHolds(const XINPUT_GAMEPAD& pad, int vk) {
  switch (vk) {
    case VK_LEFT: return pad.sThumbLX <= -STICK_DEAD_ZONE;
    case VK_RIGHT: return pad.sThumbLX >= STICK_DEAD_ZONE;
    case VK_UP: return pad.sThumbLY >= STICK_DEAD_ZONE;
    case VK_DOWN: return pad.sThumbLY <= -STICK_DEAD_ZONE;
    default: return false;
  }
}

bool ControllerHolds(int vk) {
  ReadPads();
  for (DWORD slot = 0; slot < XUSER_MAX_COUNT; ++slot) {
    if (!connected[slot]) continue;
    if (StickHolds(pads[slot], vk)) return true;
    for (int b = 0; b < CONTROLLER_BUTTON_COUNT; ++b)
      if ((pads[slot].wButtons & BUTTON_FLAGS[b]) && GameKeyFromControllerButton(b) == vk) return true;
  }
  return false;
}

}  // namespace

SHORT ControllerKeyState(int vk) {
  if (vk <= 0 || vk > 255) return 0;
  bool held = ControllerHolds(vk);
  bool fresh = held && !heldAtLastQuery[vk];
  heldAtLastQuery[vk] = held;
  return (SHORT)((held ? 0x8000 : 0) | (fresh ? 0x0001 : 0));
}

}  // namespace corvane
