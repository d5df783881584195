// SDL's keyboard, mouse and focus events as key state changes.
#include <SDL.h>

#include "common/key_table.h"
#include "win32/key_state.h"

namespace corvane {
namespace {

// The key table of the builds without SDL numbers keys as SDL does.
constexpr bool Same(int ours, int sdl) { return ours == sdl; }
static_assert(Same(SCANCODE_A, SDL_SCANCODE_A) && Same(SCANCODE_RETURN, SDL_SCANCODE_RETURN) &&
              Same(SCANCODE_F1, SDL_SCANCODE_F1) && Same(SCANCODE_UP, SDL_SCANCODE_UP) &&
              Same(SCANCODE_KP_0, SDL_SCANCODE_KP_0) && Same(SCANCODE_RGUI, SDL_SCANCODE_RGUI));

int VirtualKeyFromMouseButton(int button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return VK_LBUTTON;
    case SDL_BUTTON_RIGHT: return VK_RBUTTON;
    case SDL_BUTTON_MIDDLE: return VK_MBUTTON;
    default: return 0;
  }
}

}  // namespace

int TrackKeyEvent(const SDL_Event& event, bool* reachesGame) {
  if (reachesGame) *reachesGame = true;
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return TrackKeyboardKey(event.key.keysym.scancode, event.type == SDL_KEYDOWN, event.key.repeat != 0, reachesGame);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      TrackMouseButton(VirtualKeyFromMouseButton(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      return 0;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) TrackKeyboardFocus(false);
      else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) TrackKeyboardFocus(true);
      return 0;
    default: return 0;
  }
}

}  // namespace corvane
