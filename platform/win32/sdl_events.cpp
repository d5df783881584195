// SDL's events for the message queue: keys (through the key state, before
// they are queued), window close and focus, and the game controllers.
#include <windows.h>

#include <SDL.h>

#include "common/key_bindings.h"
#include "win32/event_pump.h"
#include "win32/focus_pause.h"
#include "win32/gamepad.h"
#include "win32/key_state.h"
#include "win32/window_registry.h"

namespace corvane {
namespace {

bool keyFilterInstalled = false;

// Keys change state as SDL sees them, before they are queued; the Enter of
// an Alt+Enter is dropped here so that no message is made of it.
int SDLCALL FilterKeys(void*, SDL_Event* event) {
  bool reachesGame = true;
  TrackKeyEvent(*event, &reachesGame);
  return reachesGame ? 1 : 0;
}

void TranslateSdlEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT: CloseAllWindows(); break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        if (HWND hwnd = HwndFromSdlWindowId(event.window.windowID)) SendToWindowProc(hwnd, WM_CLOSE, 0, 0);
      }
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST || event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
        NoteFocus(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int vk = GameKeyFromKeyCode(event.key.keysym.scancode);
      HWND hwnd = HwndFromSdlWindowId(event.key.windowID);
      bool down = event.type == SDL_KEYDOWN;
      if (vk != 0 && hwnd && !ScriptOwnsKey(vk))
        PostMessageA(hwnd, down ? WM_KEYDOWN : WM_KEYUP, (WPARAM)vk,
                     KeyMessageLParam(event.key.keysym.scancode, down, event.key.repeat != 0));
      break;
    }
    default: TrackGamepadEvent(event); break;
  }
}

}  // namespace

// Setting a filter discards whatever SDL has queued, so this happens once,
// as soon as video starts and before controllers announce themselves.
void InstallKeyFilter() {
  if (keyFilterInstalled) return;
  SDL_SetEventFilter(FilterKeys, nullptr);
  keyFilterInstalled = true;
}

void PumpPlatformEvents() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  InstallKeyFilter();
  SDL_Event event;
  while (SDL_PollEvent(&event)) TranslateSdlEvent(event);
}

void WaitForPlatformEvents(int milliseconds) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_WaitEventTimeout(nullptr, milliseconds);
  else SDL_Delay(1);
}

}  // namespace corvane
