// Browser events for the message queue: keys and mouse buttons, the page's
// focus, and the gamepads. Handlers only queue what happened; the queue is
// worked through when the game looks at its messages, as SDL's is natively.
#include <windows.h>

#include <emscripten.h>
#include <emscripten/html5.h>

#include <vector>

#include "common/key_bindings.h"
#include "common/key_table.h"
#include "web/browser_audio.h"
#include "web/web_events.h"
#include "web/web_window.h"
#include "win32/event_pump.h"
#include "win32/focus_pause.h"
#include "win32/gamepad.h"
#include "win32/key_state.h"

namespace corvane {
namespace {

struct BrowserEvent {
  enum Kind { KEY, MOUSE, FOCUS } kind;
  int code;  // scancode, virtual key of a mouse button, or focus gained (1) / lost (0)
  bool down;
  bool repeat;
};

std::vector<BrowserEvent> pending;

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
  ResumeAudio();
  const int scancode = ScancodeFromBrowserCode(event->code);
  if (scancode == SCANCODE_UNKNOWN) return EM_FALSE;
  pending.push_back({BrowserEvent::KEY, scancode, type == EMSCRIPTEN_EVENT_KEYDOWN, event->repeat != 0});
  // The game's keys stay away from the browser: arrows would scroll the
  // page and F5 would reload it.
  return GameKeyFromKeyCode(scancode) != 0 || ComfortFromKeyCode(scancode) >= 0;
}

EM_BOOL OnMouseButton(int type, const EmscriptenMouseEvent* event, void*) {
  ResumeAudio();
  static const int BUTTONS[3] = {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
  if (event->button < 3)
    pending.push_back({BrowserEvent::MOUSE, BUTTONS[event->button], type == EMSCRIPTEN_EVENT_MOUSEDOWN, false});
  return EM_FALSE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
  pending.push_back({BrowserEvent::FOCUS, type == EMSCRIPTEN_EVENT_FOCUS ? 1 : 0, false, false});
  return EM_FALSE;
}

void Deliver(const BrowserEvent& event) {
  switch (event.kind) {
    case BrowserEvent::KEY: {
      bool reachesGame = true;
      TrackKeyboardKey(event.code, event.down, event.repeat, &reachesGame);
      const int vk = GameKeyFromKeyCode(event.code);
      HWND hwnd = GameWindow();
      if (reachesGame && vk != 0 && hwnd && !ScriptOwnsKey(vk))
        PostMessageA(hwnd, event.down ? WM_KEYDOWN : WM_KEYUP, (WPARAM)vk,
                     KeyMessageLParam(event.code, event.down, event.repeat));
      break;
    }
    case BrowserEvent::MOUSE: TrackMouseButton(event.code, event.down); break;
    case BrowserEvent::FOCUS:
      TrackKeyboardFocus(event.code != 0);
      NoteFocus(event.code != 0);
      break;
  }
}

}  // namespace

void InstallBrowserEvents() {
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, nullptr, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(window, nullptr, EM_TRUE, OnKey);
  emscripten_set_mousedown_callback(CANVAS_SELECTOR, nullptr, EM_TRUE, OnMouseButton);
  emscripten_set_mouseup_callback(window, nullptr, EM_TRUE, OnMouseButton);
  emscripten_set_focus_callback(window, nullptr, EM_TRUE, OnFocus);
  emscripten_set_blur_callback(window, nullptr, EM_TRUE, OnFocus);
  InstallAudioResume();
}

void PumpPlatformEvents() {
  std::vector<BrowserEvent> arrived;
  arrived.swap(pending);
  for (const BrowserEvent& event : arrived) Deliver(event);
  PollGamepads();
}

// Waiting hands the page back to the browser, whose handlers queue events.
void WaitForPlatformEvents(int milliseconds) { emscripten_sleep(milliseconds); }

}  // namespace corvane
