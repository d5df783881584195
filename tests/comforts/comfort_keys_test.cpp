// Alt+Enter and F11 switch fullscreen, F12 asks for a screenshot; the Enter
// of an Alt+Enter never reaches the game, neither as key state nor as a
// message.
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

bool Track(SDL_Scancode scancode, bool down, bool repeat = false) {
  bool reaches = true;
  corvane::TrackKeyEvent(KeyEvent(scancode, down, repeat), &reaches);
  return reaches;
}

void ForgetRequests() {
  corvane::TakeFullscreenToggleRequest();
  corvane::TakeScreenshotRequest();
  GetAsyncKeyState(VK_RETURN);
}

TEST(ComfortKeys, AltEnterTogglesOnceAndHidesItsEnter) {
  ForgetRequests();
  EXPECT_TRUE(Track(SDL_SCANCODE_LALT, true));
  EXPECT_FALSE(Track(SDL_SCANCODE_RETURN, true));
  EXPECT_TRUE(corvane::TakeFullscreenToggleRequest());
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  // Repeats, letting go of Alt first, and the release stay hidden; no
  // second toggle.
  EXPECT_FALSE(Track(SDL_SCANCODE_RETURN, true, true));
  EXPECT_TRUE(Track(SDL_SCANCODE_LALT, false));
  EXPECT_FALSE(Track(SDL_SCANCODE_RETURN, true, true));
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  EXPECT_FALSE(Track(SDL_SCANCODE_RETURN, false));
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  // A plain Enter afterwards is an ordinary press again.
  EXPECT_TRUE(Track(SDL_SCANCODE_RETURN, true));
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_RETURN), 0x8001);
  EXPECT_TRUE(Track(SDL_SCANCODE_RETURN, false));
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());

  // Right Alt and the keypad Enter count too.
  Track(SDL_SCANCODE_RALT, true);
  EXPECT_FALSE(Track(SDL_SCANCODE_KP_ENTER, true));
  EXPECT_TRUE(corvane::TakeFullscreenToggleRequest());
  Track(SDL_SCANCODE_KP_ENTER, false);
  Track(SDL_SCANCODE_RALT, false);
}

TEST(ComfortKeys, EnterAlreadyHeldWhenAltComesIsTheGames) {
  ForgetRequests();
  Track(SDL_SCANCODE_RETURN, true);
  Track(SDL_SCANCODE_LALT, true);
  EXPECT_TRUE(Track(SDL_SCANCODE_RETURN, true, true));
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_RETURN), 0x8001);
  Track(SDL_SCANCODE_RETURN, false);
  Track(SDL_SCANCODE_LALT, false);
}

TEST(ComfortKeys, F11TogglesAndF12AsksForAScreenshotOncePerPress) {
  ForgetRequests();
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
  ForgetRequests();
  corvane::SetVirtualKey(VK_MENU, true);
  corvane::SetVirtualKey(VK_RETURN, true);
  corvane::SetVirtualKey(VK_RETURN, true);  // the script holds it over frames
  EXPECT_TRUE(corvane::TakeFullscreenToggleRequest());
  EXPECT_FALSE(corvane::TakeFullscreenToggleRequest());
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  corvane::SetVirtualKey(VK_RETURN, false);
  corvane::SetVirtualKey(VK_MENU, false);
  corvane::SetVirtualKey(VK_RETURN, true);
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_RETURN), 0x8001);
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

  auto pump = [] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  };
  received.clear();
  for (auto [scancode, down] : {std::pair{SDL_SCANCODE_LALT, true}, {SDL_SCANCODE_RETURN, true},
                                {SDL_SCANCODE_RETURN, false}, {SDL_SCANCODE_LALT, false}}) {
    SDL_Event event = KeyEvent(scancode, down, false, id);
    SDL_PushEvent(&event);
  }
  pump();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].message, (UINT)WM_KEYDOWN);
  EXPECT_EQ(received[0].wParam, (WPARAM)VK_LMENU);
  EXPECT_EQ(received[1].message, (UINT)WM_KEYUP);
  EXPECT_EQ(received[1].wParam, (WPARAM)VK_LMENU);
  EXPECT_TRUE(corvane::IsFullscreen(window));

  received.clear();
  SDL_Event f11 = KeyEvent(SDL_SCANCODE_F11, true, false, id);
  SDL_PushEvent(&f11);
  pump();
  EXPECT_FALSE(corvane::IsFullscreen(window));
  SDL_Event enter = KeyEvent(SDL_SCANCODE_RETURN, true, false, id);
  SDL_PushEvent(&enter);
  pump();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].wParam, (WPARAM)VK_RETURN);
  SDL_Event release = KeyEvent(SDL_SCANCODE_RETURN, false, false, id);
  SDL_PushEvent(&release);
  pump();
  DestroyWindow(window);
}

}  // namespace
