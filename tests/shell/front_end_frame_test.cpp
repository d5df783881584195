// The shell in-process: start-up's window, the front-end frame's gate,
// clear colours and camera, and a scene with no frame. The clock is virtual; frames are counted by Present
// and their pictures captured through the automation service.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <d3d9.h>

#include <SDL.h>
#include <unistd.h>

#include "app/app_state.h"
#include "app/scene_frame.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "common/automation_control.h"
#include "common/command_line.h"
#include "frontend/fade.h"
#include "frontend/title.h"
#include "internal/automation.h"
#include "internal/window_internal.h"
#include "support/corvane_run.h"
#include "support/game_in_process.h"

namespace {

std::string captureDir;

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartGameInProcess());
    if (captureDir.empty()) captureDir = MakeScratchDir("shell-captures");
    corvane::UseVirtualClock(true);
    corvane::SetVirtualKey(VK_RETURN, false);
    GetAsyncKeyState(VK_RETURN);
    enterKeyLatch = arrowKeyLatch = false;
    fadeActive = false;
    fadeAlpha = 0;
  }

  // Captures every presented frame while `on`.
  static void CaptureFrames(bool on) {
    corvane::CommandLine options;
    options.captureDir = captureDir;
    std::string error;
    if (on) corvane::ParseFrameSet("all", options.captureFrames, error);
    ASSERT_TRUE(corvane::StartAutomation(options));
  }

  // Moves the virtual clock so that timeGetTime() reads `ms`.
  static void SetClock(DWORD ms) { corvane::AdvanceVirtualClock(ms - timeGetTime()); }
};

void NoStep() {}

// The pixel of the most recent capture at (x, y), as 0xAARRGGBB.
DWORD CapturedPixel(int x, int y) {
  int w = 0, h = 0;
  std::vector<unsigned char> rgba;
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%06d.png", corvane::CurrentFrame() - 1);
  if (!ReadPng(captureDir + name, w, h, rgba) || w != 800 || h != 600) return 0x12345678;
  const unsigned char* p = &rgba[((size_t)y * w + x) * 4];
  return ((DWORD)p[3] << 24) | ((DWORD)p[0] << 16) | ((DWORD)p[1] << 8) | p[2];
}

TEST_F(ShellTest, MainWindowHasAnEightHundredBySixHundredClientAreaAndItsCaption) {
  RECT client;
  ASSERT_TRUE(GetClientRect(mainWindow, &client));
  EXPECT_EQ(client.right - client.left, 800);
  EXPECT_EQ(client.bottom - client.top, 600);
  SDL_Window* window = corvane::SdlWindowFromHwnd(mainWindow);
  ASSERT_NE(window, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(window), "Corvane");
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);
}

TEST_F(ShellTest, FrontEndGateRunsSixteenMillisecondsAfterTheLastFrameAcrossTheWrap) {
  scene = SCENE_TITLE;
  const DWORD starts[] = {5000u, 0xFFFFFFF6u, 0xFFFFFFF0u};
  for (DWORD last : starts) {
    lastFrameTime = last;
    SetClock(last + 15);
    int frames = corvane::CurrentFrame();
    TitleFrame();
    EXPECT_EQ(corvane::CurrentFrame(), frames) << "15 ms after " << last;
    EXPECT_EQ(lastFrameTime, last);
    corvane::AdvanceVirtualClock(1);
    TitleFrame();
    EXPECT_EQ(corvane::CurrentFrame(), frames + 1) << "16 ms after " << last;
    EXPECT_EQ(lastFrameTime, (DWORD)(last + 16));
  }
}

TEST_F(ShellTest, TitleClearsToBlueAndModeSelectToBlackWithTheirCameras) {
  CaptureFrames(true);
  FrontEndScene title = TitleScene();
  title.input = title.draw = title.enterRule = NoStep;
  SetClock(lastFrameTime + 100);
  RunFrontEndFrame(title);
  for (auto [x, y] : {std::pair{0, 0}, {400, 300}, {799, 599}}) EXPECT_EQ(CapturedPixel(x, y), 0xFF0000FFu);
  // Eye (0,0,1) looking at the origin: x flips, z flips, and the eye sits 1 behind.
  D3DMATRIX view;
  ASSERT_EQ(Gfx.device->GetTransform(D3DTS_VIEW, &view), D3D_OK);
  EXPECT_FLOAT_EQ(view._11, -1.0f);
  EXPECT_FLOAT_EQ(view._22, 1.0f);
  EXPECT_FLOAT_EQ(view._33, -1.0f);
  EXPECT_FLOAT_EQ(view._43, 1.0f);

  FrontEndScene select = ModeSelectScene();
  select.input = select.draw = select.enterRule = NoStep;
  SetClock(lastFrameTime + 100);
  RunFrontEndFrame(select);
  for (auto [x, y] : {std::pair{0, 0}, {400, 300}, {799, 599}}) EXPECT_EQ(CapturedPixel(x, y), 0xFF000000u);
  CaptureFrames(false);
  // Eye (0,2,0) looking at (0,0,60): z axis (0,-2,60)/|..|, y axis
  // (0,60,2)/|..|, with |..| = sqrt(3604); the eye's height gives -2*60/sqrt(3604).
  ASSERT_EQ(Gfx.device->GetTransform(D3DTS_VIEW, &view), D3D_OK);
  EXPECT_FLOAT_EQ(view._11, 1.0f);
  EXPECT_NEAR(view._33, 0.9994449f, 1e-6f);
  EXPECT_NEAR(view._23, -0.0333148f, 1e-6f);
  EXPECT_NEAR(view._42, -1.9988898f, 1e-6f);
  D3DMATRIX projection;
  ASSERT_EQ(Gfx.device->GetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
  // 60 degrees vertical: yScale = 1/tan(30 deg) = sqrt(3); xScale = yScale * 3/4.
  EXPECT_NEAR(projection._22, 1.7320508f, 1e-5f);
  EXPECT_NEAR(projection._11, 1.2990381f, 1e-5f);
  EXPECT_NEAR(projection._33, 2000.0f / 1999.0f, 1e-6f);
}

TEST_F(ShellTest, SceneOutsideTheThreeDrawsNothingButMessagesAreHandled) {
  scene = 7;
  int frames = corvane::CurrentFrame();
  DWORD last = lastFrameTime;
  for (int i = 0; i < 5; ++i) {
    corvane::AdvanceVirtualClock(17);
    RunScenePass();
  }
  EXPECT_EQ(corvane::CurrentFrame(), frames);
  EXPECT_EQ(lastFrameTime, last);
  PostMessageA(mainWindow, WM_KEYDOWN, VK_SPACE, 0);
  PostQuitMessage(0);
  EXPECT_EQ(RunMainLoop(), 0u);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) << "the key message was handled";
  EXPECT_EQ(MainWindowProc(mainWindow, WM_KEYDOWN, VK_RETURN, 0), 0);
  scene = SCENE_TITLE;
}

}  // namespace
