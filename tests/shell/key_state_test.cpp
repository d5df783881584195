// GetAsyncKeyState's two meanings, fed by SDL key events and by the
// virtual keys that scripts and in-process tests use.
#include <gtest/gtest.h>

#include <windows.h>

#include <SDL.h>

#include "internal/automation.h"
#include "win32/key_state.h"

namespace {

SDL_Event KeyEvent(SDL_Scancode scancode, bool down, bool repeat = false) {
  SDL_Event event = {};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = scancode;
  return event;
}

SDL_Event FocusEvent(bool gained) {
  SDL_Event event = {};
  event.type = SDL_WINDOWEVENT;
  event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  return event;
}

void Forget(int vk) {
  corvane::SetVirtualKey(vk, false);
  GetAsyncKeyState(vk);
}

TEST(KeyState, DownNowAndPressedSinceThePreviousQuery) {
  Forget(VK_UP);
  EXPECT_EQ(GetAsyncKeyState(VK_UP), 0);
  corvane::SetVirtualKey(VK_UP, true);
  // First query: down and newly pressed; later queries: only down.
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_UP), 0x8001);
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_UP), 0x8000);
  corvane::SetVirtualKey(VK_UP, true);  // still held: not a new press
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_UP), 0x8000);
  corvane::SetVirtualKey(VK_UP, false);
  EXPECT_EQ(GetAsyncKeyState(VK_UP), 0);
}

TEST(KeyState, TapBetweenTwoPollsCountsOnceAndKeysAreIndependent) {
  Forget(VK_RETURN);
  Forget(VK_ESCAPE);
  corvane::SetVirtualKey(VK_RETURN, true);
  corvane::SetVirtualKey(VK_RETURN, false);
  corvane::SetVirtualKey(VK_ESCAPE, true);
  // Reading Esc does not consume Enter's press, and the reverse.
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_ESCAPE), 0x8001);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0x0001);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_ESCAPE), 0x8000);
  EXPECT_EQ(GetAsyncKeyState('D'), 0);
  Forget(VK_ESCAPE);
}

TEST(KeyState, KeyboardEventsRepeatAndFocusLoss) {
  Forget('D');
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_D, true));
  EXPECT_EQ((unsigned short)GetAsyncKeyState('D'), 0x8001);
  // Auto-repeat counts as a new press, as on Windows.
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_D, true, true));
  EXPECT_EQ((unsigned short)GetAsyncKeyState('D'), 0x8001);
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_KP_ENTER, true));
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_LSHIFT, true));
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_SHIFT), 0x8001);
  // The key-ups of an unfocused window never come: everything is let go.
  corvane::TrackKeyEvent(FocusEvent(false));
  EXPECT_EQ(GetAsyncKeyState('D'), 0);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  corvane::TrackKeyEvent(FocusEvent(true));
  EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_LEFT, true));
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_LEFT, false));
  EXPECT_EQ(GetAsyncKeyState(VK_LEFT), 0x0001);
}

TEST(KeyState, ScriptOwnsItsKeysAndLeavesTheRestToTheKeyboard) {
  Forget(VK_DOWN);
  Forget(VK_SPACE);
  corvane::SetScriptOwnsKeys(true);
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_DOWN, true));
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_SPACE, true));
  EXPECT_EQ(GetAsyncKeyState(VK_DOWN), 0);
  EXPECT_EQ((unsigned short)GetAsyncKeyState(VK_SPACE), 0x8001);
  corvane::SetScriptOwnsKeys(false);
  corvane::TrackKeyEvent(KeyEvent(SDL_SCANCODE_SPACE, false));
}

}  // namespace
