// Gamepads through the browser's Gamepad API, polled once per look at the
// message queue. Only pads in the browser's "standard" layout are used; it
// names the same buttons as SDL's controller layout, so the player's
// button bindings and the stick rule are the native ones.
#include <emscripten/html5.h>

#include <bitset>
#include <cstring>

#include "common/settings_file.h"
#include "web/web_events.h"
#include "win32/gamepad.h"

namespace corvane {
namespace {

constexpr int MAX_PADS = 4;

// Standard layout button index -> controller button; -1 for the triggers,
// which SDL reports as axes and the game never reads.
constexpr int STANDARD_BUTTONS[17] = {BUTTON_A,
                                      BUTTON_B,
                                      BUTTON_X,
                                      BUTTON_Y,
                                      BUTTON_LEFT_SHOULDER,
                                      BUTTON_RIGHT_SHOULDER,
                                      -1,
                                      -1,
                                      BUTTON_BACK,
                                      BUTTON_START,
                                      BUTTON_LEFT_STICK,
                                      BUTTON_RIGHT_STICK,
                                      BUTTON_DPAD_UP,
                                      BUTTON_DPAD_DOWN,
                                      BUTTON_DPAD_LEFT,
                                      BUTTON_DPAD_RIGHT,
                                      BUTTON_GUIDE};

std::bitset<256> held[MAX_PADS];

int StickValue(double axis) {
  const double scaled = axis * 32767.0;
  return scaled < -32768.0 ? -32768 : (scaled > 32767.0 ? 32767 : (int)scaled);
}

std::bitset<256> KeysOf(const EmscriptenGamepadEvent& pad) {
  bool buttons[CONTROLLER_BUTTON_COUNT] = {};
  for (int b = 0; b < pad.numButtons && b < 17; ++b)
    if (STANDARD_BUTTONS[b] >= 0 && pad.digitalButton[b]) buttons[STANDARD_BUTTONS[b]] = true;
  const int x = pad.numAxes > 0 ? StickValue(pad.axis[0]) : 0;
  const int y = pad.numAxes > 1 ? StickValue(pad.axis[1]) : 0;
  return ControllerKeys(buttons, CONTROLLER_BUTTON_COUNT, x, y);
}

}  // namespace

void PollGamepads() {
  if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
  const int count = emscripten_get_num_gamepads();
  for (int i = 0; i < MAX_PADS; ++i) {
    EmscriptenGamepadEvent pad;
    std::bitset<256> now;  // an absent or unplugged pad lets go of everything
    if (i < count && emscripten_get_gamepad_status(i, &pad) == EMSCRIPTEN_RESULT_SUCCESS && pad.connected &&
        std::strcmp(pad.mapping, "standard") == 0)
      now = KeysOf(pad);
    HoldControllerKeys(held[i], now);
  }
}

}  // namespace corvane
