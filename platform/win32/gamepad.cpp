#include "win32/gamepad.h"

#include <windows.h>

#include <SDL.h>

#include <bitset>
#include <cstdio>
#include <vector>

#include "common/key_bindings.h"
#include "common/settings_file.h"
#include "win32/key_state.h"

// The settings name buttons by SDL's numbers.
static_assert(corvane::BUTTON_DPAD_RIGHT == (int)SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
              corvane::BUTTON_GUIDE == (int)SDL_CONTROLLER_BUTTON_GUIDE);

namespace corvane {
namespace {

struct Pad {
  SDL_JoystickID id;
  SDL_GameController* controller;
  bool buttons[SDL_CONTROLLER_BUTTON_MAX];
  int stickX, stickY;
  std::bitset<256> held;  // keys this controller holds now
};

std::vector<Pad> pads;

Pad* FindPad(SDL_JoystickID id) {
  for (auto& pad : pads)
    if (pad.id == id) return &pad;
  return nullptr;
}

std::bitset<256> KeysHeldBy(const Pad& pad) {
  std::bitset<256> keys;
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
    if (pad.buttons[b]) {
      int vk = GameKeyFromControllerButton(b);
      if (vk) keys.set(vk);
    }
  if (pad.stickX <= -STICK_DEAD_ZONE) keys.set(VK_LEFT);
  if (pad.stickX >= STICK_DEAD_ZONE) keys.set(VK_RIGHT);
  if (pad.stickY <= -STICK_DEAD_ZONE) keys.set(VK_UP);  // SDL's y grows downwards
  if (pad.stickY >= STICK_DEAD_ZONE) keys.set(VK_DOWN);
  return keys;
}

void HoldKeys(Pad& pad, const std::bitset<256>& now) {
  for (int vk = 1; vk < 256; ++vk)
    if (now[vk] != pad.held[vk]) SetGamepadKey(vk, now[vk]);
  pad.held = now;
}

void Open(int deviceIndex) {
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (!controller) {
    std::fprintf(stderr, "corvane: cannot open the game controller: %s\n", SDL_GetError());
    return;
  }
  SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  if (FindPad(id)) {
    SDL_GameControllerClose(controller);  // already ours; SDL counted one more reference
    return;
  }
  Pad pad = {};
  pad.id = id;
  pad.controller = controller;
  pads.push_back(pad);
}

void Close(SDL_JoystickID id) {
  for (auto it = pads.begin(); it != pads.end(); ++it) {
    if (it->id != id) continue;
    HoldKeys(*it, {});
    SDL_GameControllerClose(it->controller);
    pads.erase(it);
    return;
  }
}

}  // namespace

void TrackGamepadEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      Close(event.cdevice.which);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (Pad* pad = FindPad(event.cbutton.which)) {
        if (event.cbutton.button < SDL_CONTROLLER_BUTTON_MAX)
          pad->buttons[event.cbutton.button] = event.type == SDL_CONTROLLERBUTTONDOWN;
        HoldKeys(*pad, KeysHeldBy(*pad));
      }
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (Pad* pad = FindPad(event.caxis.which)) {
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) pad->stickX = event.caxis.value;
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) pad->stickY = event.caxis.value;
        HoldKeys(*pad, KeysHeldBy(*pad));
      }
      break;
    default:
      break;
  }
}

void CloseGamepads() {
  while (!pads.empty()) Close(pads.back().id);
}

}  // namespace corvane
