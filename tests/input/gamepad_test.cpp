// Game controllers read through GetAsyncKeyState, driven by SDL's virtual
// joystick (which SDL maps as a standard controller).
#include <gtest/gtest.h>

#include <windows.h>

#include <SDL.h>

#include <utility>
#include <vector>

#include "internal/automation.h"
#include "win32/key_state.h"

namespace {

class Gamepad : public ::testing::Test {
 protected:
  void SetUp() override {
    // No window of these tests holds SDL's keyboard focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    Pump();  // the platform takes SDL's events from here on
    // Keys only count while the game's window has the focus.
    SDL_Event focus = {};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    corvane::TrackKeyEvent(focus);
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                       SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index_, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index_));
    joystick_ = SDL_JoystickOpen(index_);  // our handle to drive its inputs
    ASSERT_NE(joystick_, nullptr);
    Pump();
    for (int vk : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE, (int)'D'}) GetAsyncKeyState(vk);
  }
  void TearDown() override {
    if (joystick_) SDL_JoystickClose(joystick_);
    if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
    Pump();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  // The game looks at its message queue once a frame; that is when SDL's
  // controller events arrive.
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    Pump();
  }
  void Axis(SDL_GameControllerAxis axis, int value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, (Sint16)value);
    Pump();
  }
  static unsigned Key(int vk) { return (unsigned short)GetAsyncKeyState(vk); }

  int index_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

TEST_F(Gamepad, EveryMappedButtonReadsAsItsKey) {
  const std::vector<std::pair<SDL_GameControllerButton, int>> mapping = {
      {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},       {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT},   {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT},
      {SDL_CONTROLLER_BUTTON_A, VK_RETURN},         {SDL_CONTROLLER_BUTTON_START, VK_RETURN},
      {SDL_CONTROLLER_BUTTON_B, VK_ESCAPE},         {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE},
      {SDL_CONTROLLER_BUTTON_X, 'D'},               {SDL_CONTROLLER_BUTTON_Y, 'D'},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 'D'},    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 'D'}};
  for (const auto& [button, vk] : mapping) {
    Button(button, true);
    EXPECT_EQ(Key(vk), 0x8001u) << "button " << button;
    EXPECT_EQ(Key(vk), 0x8000u) << "button " << button;
    Button(button, false);
    EXPECT_EQ(Key(vk), 0u) << "button " << button;
  }
  // Buttons with no key, and the guide button, leave every key alone.
  Button(SDL_CONTROLLER_BUTTON_GUIDE, true);
  Button(SDL_CONTROLLER_BUTTON_LEFTSTICK, true);
  for (const auto& entry : mapping) EXPECT_EQ(Key(entry.second), 0u) << entry.second;
}

TEST_F(Gamepad, StickDirectionsBeyondTheDeadZone) {
  const struct {
    SDL_GameControllerAxis axis;
    int value, vk;
  } pushes[] = {{SDL_CONTROLLER_AXIS_LEFTX, -32768, VK_LEFT}, {SDL_CONTROLLER_AXIS_LEFTX, 32767, VK_RIGHT},
                {SDL_CONTROLLER_AXIS_LEFTY, -32768, VK_UP},   {SDL_CONTROLLER_AXIS_LEFTY, 32767, VK_DOWN},
                {SDL_CONTROLLER_AXIS_LEFTX, -20000, VK_LEFT}, {SDL_CONTROLLER_AXIS_LEFTY, 20000, VK_DOWN}};
  for (const auto& push : pushes) {
    Axis(push.axis, push.value);
    EXPECT_EQ(Key(push.vk), 0x8001u) << push.value;
    Axis(push.axis, 0);
    EXPECT_EQ(Key(push.vk), 0u) << push.value;
  }
  // A resting stick drifts a little: no key.
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 3000);
  Axis(SDL_CONTROLLER_AXIS_LEFTY, -3000);
  for (int vk : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) EXPECT_EQ(Key(vk), 0u) << vk;
  // The right stick steers nothing.
  Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
  EXPECT_EQ(Key(VK_RIGHT), 0u);
}

TEST_F(Gamepad, PressesBetweenQueriesAndSharedKeys) {
  // A tap between two queries still counts once.
  Button(SDL_CONTROLLER_BUTTON_B, true);
  Button(SDL_CONTROLLER_BUTTON_B, false);
  EXPECT_EQ(Key(VK_ESCAPE), 0x0001u);
  EXPECT_EQ(Key(VK_ESCAPE), 0u);
  // D-pad right and the stick both hold Right: it stays down until both let go.
  Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  EXPECT_EQ(Key(VK_RIGHT), 0x8001u);
  Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
  EXPECT_EQ(Key(VK_RIGHT), 0x8000u);
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  EXPECT_EQ(Key(VK_RIGHT), 0u);
  // The keyboard and the controller hold Enter independently.
  corvane::SetVirtualKey(VK_RETURN, true);
  Button(SDL_CONTROLLER_BUTTON_A, true);
  Button(SDL_CONTROLLER_BUTTON_A, false);
  EXPECT_EQ(Key(VK_RETURN) & 0x8000u, 0x8000u);
  corvane::SetVirtualKey(VK_RETURN, false);
  GetAsyncKeyState(VK_RETURN);
  EXPECT_EQ(Key(VK_RETURN), 0u);
}

TEST_F(Gamepad, UnpluggingReleasesWhatItHeld) {
  Button(SDL_CONTROLLER_BUTTON_A, true);
  Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
  EXPECT_EQ(Key(VK_RETURN), 0x8001u);
  EXPECT_EQ(Key(VK_UP), 0x8001u);
  SDL_JoystickClose(joystick_);
  joystick_ = nullptr;
  ASSERT_EQ(SDL_JoystickDetachVirtual(index_), 0);
  index_ = -1;
  Pump();
  EXPECT_EQ(Key(VK_RETURN), 0u);
  EXPECT_EQ(Key(VK_UP), 0u);
}

}  // namespace
