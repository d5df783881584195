#include "win32/gamepad.h"

#include <windows.h>

#include <SDL.h>

#include <bitset>
#include <cstdio>
#include <vector>

#include "common/settings_file.h"

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
  return ControllerKeys(pad.buttons, SDL_CONTROLLER_BUTTON_MAX, pad.stickX, pad.stickY);
}

void HoldKeys(Pad& pad, const std::bitset<256>& now) { HoldControllerKeys(pad.held, now); }

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
