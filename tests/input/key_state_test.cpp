// GetAsyncKeyState's two meanings, fed by SDL key events and by the virtual
// keys that scripts and in-process tests use; Alt+Enter and F11 switch
// fullscreen and F12 asks for a screenshot, and the Enter of an Alt+Enter
// never reaches the game, neither as key state nor as a message.
#include <gtest/gtest.h>

#include <windows.h>

#include <SDL.h>

#include <vector>

#include "internal/automation.h"
#include "internal/window_internal.h"
#include "win32/key_state.h"
#include "win32/window_registry.h"

namespace {

SDL_Event KeyEvent(SDL_Scancode scancode, bool down, bool repeat = false, Uint32 windowId = 0) {
  SDL_Event event = {};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.windowID = windowId;
  event.key.keysym.scancode = scancode;
  return event;
}

SDL_Event FocusEvent(bool gained) {
  SDL_Event event = {};
  event.type = SDL_WINDOWEVENT;
  event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  return event;
}

// Whether the event reaches the game as a message.
bool Track(SDL_Scancode scancode, bool down, bool repeat = false) {
  bool reaches = true;
  corvane::TrackKeyEvent(KeyEvent(scancode, down, repeat), &reaches);
  return reaches;
}

unsigned Key(int vk) { return (unsigned short)GetAsyncKeyState(vk); }

// Every key up and every press and request taken.
void Forget() {
  for (int vk : {VK_UP, VK_DOWN, VK_LEFT, VK_RETURN, VK_ESCAPE, VK_SPACE, VK_SHIFT, VK_MENU, (int)'D'}) {
    corvane::SetVirtualKey(vk, false);
    GetAsyncKeyState(vk);
  }
  corvane::TakeFullscreenToggleRequest();
  corvane::TakeScreenshotRequest();
}

TEST(KeyState, DownNowAndPressedSinceThePreviousQueryEachKeyOnItsOwn) {
  Forget();
  corvane::SetVirtualKey(VK_UP, true);
  EXPECT_EQ(Key(VK_UP), 0x8001u);  // first query: down and newly pressed
  EXPECT_EQ(Key(VK_UP), 0x8000u);
  corvane::SetVirtualKey(VK_UP, true);  // still held: not a new press
  EXPECT_EQ(Key(VK_UP), 0x8000u);
  corvane::SetVirtualKey(VK_UP, false);
  EXPECT_EQ(Key(VK_UP), 0u);
  // A tap between two queries counts once; reading Esc leaves Enter's press.
  corvane::SetVirtualKey(VK_RETURN, true);
  corvane::SetVirtualKey(VK_RETURN, false);
  corvane::SetVirtualKey(VK_ESCAPE, true);
  EXPECT_EQ(Key(VK_ESCAPE), 0x8001u);
  EXPECT_EQ(Key(VK_RETURN), 0x0001u);
  EXPECT_EQ(Key(VK_RETURN), 0u);
  EXPECT_EQ(Key('D'), 0u);
}

TEST(KeyState, KeyboardEventsRepeatFocusLossAndScriptedKeys) {
  Forget();
  Track(SDL_SCANCODE_D, true);
  EXPECT_EQ(Key('D'), 0x8001u);
  Track(SDL_SCANCODE_D, true, true);  // auto-repeat is a new press, as on Windows
  EXPECT_EQ(Key('D'), 0x8001u);
  Track(SDL_SCANCODE_KP_ENTER, true);
  Track(SDL_SCANCODE_LSHIFT, true);
  EXPECT_EQ(Key(VK_SHIFT), 0x8001u);
  // The key-ups of an unfocused window never come: everything is let go.
  corvane::TrackKeyEvent(FocusEvent(false));
  EXPECT_EQ(Key('D'), 0u);
  EXPECT_EQ(Key(VK_RETURN), 0u);
  corvane::TrackKeyEvent(FocusEvent(true));
  EXPECT_EQ(Key(VK_SHIFT), 0u);
  Track(SDL_SCANCODE_LEFT, true);
  Track(SDL_SCANCODE_LEFT, false);
  EXPECT_EQ(Key(VK_LEFT), 0x0001u);
  // A script owns the game's keys; the keyboard keeps the rest.
  corvane::SetScriptOwnsKeys(true);
  Track(SDL_SCANCODE_DOWN, true);
  Track(SDL_SCANCODE_SPACE, true);
  EXPECT_EQ(Key(VK_DOWN), 0u);
  EXPECT_EQ(Key(VK_SPACE), 0x8001u);
  corvane::SetScriptOwnsKeys(false);
  Track(SDL_SCANCODE_SPACE, false);
}

TEST(ComfortKeys, AltEnterTogglesOnceAndHidesItsEnter) {
  Forget();
  EXPECT_TRUE(Track(SDL_SCANCODE_LALT, true));
  EXPECT_FALSE(Track(SDL_SCANCODE_RETURN, true));
  EXPECT_TRUE(corvane::TakeFullscreenToggleRequest());
  EXPECT_EQ(Key(VK_RETURN), 0u);
  // Repeats, letting go of Alt first, and the release stay hidden; no
  // second toggle.
  EXPECT_FALSE(Track(SDL_SCANCODE_RETURN, true, true));
  EXPECT_TRUE(Track(SDL_SCANCODE_LALT, false));
  EXPECT_FALSE(Track(SDL_SCANCODE_RETURN, true, true));
  EXPECT_FALSE(Track(SDL_SCANCODE_RETURN, false));
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());
  EXPECT_EQ(Key(VK_RETURN), 0u);
  // A plain Enter afterwards is an ordinary press again.
  EXPECT_TRUE(Track(SDL_SCANCODE_RETURN, true));
  EXPECT_EQ(Key(VK_RETURN), 0x8001u);
  EXPECT_TRUE(Track(SDL_SCANCODE_RETURN, false));
  // Right Alt and the keypad Enter count too.
  Track(SDL_SCANCODE_RALT, true);
  EXPECT_FALSE(Track(SDL_SCANCODE_KP_ENTER, true));
  EXPECT_TRUE(corvane::TakeFullscreenToggleRequest());
  Track(SDL_SCANCODE_KP_ENTER, false);
  Track(SDL_SCANCODE_RALT, false);
  // An Enter already held when Alt comes is the game's.
  Track(SDL_SCANCODE_RETURN, true);
  Track(SDL_SCANCODE_LALT, true);
  EXPECT_TRUE(Track(SDL_SCANCODE_RETURN, true, true));
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());
  EXPECT_EQ(Key(VK_RETURN), 0x8001u);
  Track(SDL_SCANCODE_RETURN, false);
  Track(SDL_SCANCODE_LALT, false);
}

TEST(ComfortKeys, F11TogglesAndF12AsksForAScreenshotOncePerPress) {
  Forget();
  Track(SDL_SCANCODE_F11, true);
  Track(SDL_SCANCODE_F11, true, true);
  EXPECT_TRUE(corvane::TakeFullscreenToggleRequest());
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());
  Track(SDL_SCANCODE_F11, false);
  EXPECT_FALSE(corvane::TakeScreenshotRequest());
  Track(SDL_SCANCODE_F12, true);
  Track(SDL_SCANCODE_F12, true, true);
  EXPECT_TRUE(corvane::TakeScreenshotRequest());
  EXPECT_FALSE(corvane::TakeScreenshotRequest());
  Track(SDL_SCANCODE_F12, false);
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());
}

TEST(ComfortKeys, ScriptedAltEnterBehavesLikeTheKeyboard) {
  Forget();
  corvane::SetVirtualKey(VK_MENU, true);
  corvane::SetVirtualKey(VK_RETURN, true);
  corvane::SetVirtualKey(VK_RETURN, true);  // the script holds it over frames
  EXPECT_TRUE(corvane::TakeFullscreenToggleRequest());
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());
  EXPECT_EQ(Key(VK_RETURN), 0u);
  corvane::SetVirtualKey(VK_RETURN, false);
  corvane::SetVirtualKey(VK_MENU, false);
  corvane::SetVirtualKey(VK_RETURN, true);
  EXPECT_EQ(Key(VK_RETURN), 0x8001u);
  corvane::SetVirtualKey(VK_RETURN, false);
}

std::vector<MSG> received;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_KEYUP) {
    MSG msg = {};
    msg.message = message;
    msg.wParam = wParam;
    received.push_back(msg);
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Through the real queue: SDL events become messages, the Alt+Enter's Enter
// does not, and the window goes fullscreen and back.
TEST(ComfortKeys, AltEnterThroughTheMessageQueue) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingProc;
  windowClass.lpszClassName = "comfort keys";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "comfort keys", "keys", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  Uint32 id = SDL_GetWindowID(corvane::SdlWindowFromHwnd(window));
  ASSERT_FALSE(corvane::IsFullscreen(window));

  auto send = [&](std::initializer_list<std::pair<SDL_Scancode, bool>> keys) {
    received.clear();
    for (auto [scancode, down] : keys) {
      SDL_Event event = KeyEvent(scancode, down, false, id);
      SDL_PushEvent(&event);
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  };
  send({{SDL_SCANCODE_LALT, true}, {SDL_SCANCODE_RETURN, true}, {SDL_SCANCODE_RETURN, false},
        {SDL_SCANCODE_LALT, false}});
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].message, (UINT)WM_KEYDOWN);
  EXPECT_EQ(received[0].wParam, (WPARAM)VK_LMENU);
  EXPECT_EQ(received[1].message, (UINT)WM_KEYUP);
  EXPECT_EQ(received[1].wParam, (WPARAM)VK_LMENU);
  EXPECT_TRUE(corvane::IsFullscreen(window));

  send({{SDL_SCANCODE_F11, true}, {SDL_SCANCODE_F11, false}});
  EXPECT_FALSE(corvane::IsFullscreen(window));
  send({{SDL_SCANCODE_RETURN, true}, {SDL_SCANCODE_RETURN, false}});
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].wParam, (WPARAM)VK_RETURN);
  DestroyWindow(window);
}

}  // namespace
