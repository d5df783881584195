// Keys on the two front-end screens, driven in-process through the virtual
// keyboard: menu moves, the latch rule, key priority, the Enter rules.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "frontend/fade.h"
#include "frontend/mode_select.h"
#include "frontend/title.h"
#include "game/world_state.h"
#include "internal/automation.h"

namespace {

const int ARROWS[4] = {VK_LEFT, VK_RIGHT, VK_DOWN, VK_UP};

void Hold(int vk) { corvane::SetVirtualKey(vk, true); }
void Release(int vk) { corvane::SetVirtualKey(vk, false); }

// Lets go of every arrow and forgets presses no poll has seen yet.
void ReleaseArrows() {
  for (int vk : ARROWS) {
    Release(vk);
    GetAsyncKeyState(vk);
  }
  arrowKeyLatch = false;
}

class MenuInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int vk : ARROWS) Release(vk);
    Release(VK_RETURN);
    // Clear any pressed-since-last-poll state left by an earlier test.
    for (int vk : ARROWS) GetAsyncKeyState(vk);
    GetAsyncKeyState(VK_RETURN);
    arrowKeyLatch = false;
    enterKeyLatch = false;
    fadeActive = false;
    menuCursor = 0;
    selectCursor = 0;
    selectZoom = 0.0f;
  }
  void TearDown() override {
    for (int vk : ARROWS) Release(vk);
    Release(VK_RETURN);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
  }
};

TEST_F(MenuInputTest, TitleDownThenUpMovesAndRestartsThePulseOncePerPress) {
  scene = SCENE_TITLE;
  titlePulseScale = 1.4f;
  titlePulseAlpha = 90;
  Hold(VK_DOWN);
  TitleInput();
  EXPECT_EQ(menuCursor, 1);
  EXPECT_TRUE(arrowKeyLatch);
  EXPECT_FLOAT_EQ(titlePulseScale, 1.0f);
  EXPECT_EQ(titlePulseAlpha, 255);

  titlePulseAlpha = 90;
  TitleInput();  // still held: no second action
  EXPECT_EQ(titlePulseAlpha, 90);
  Release(VK_DOWN);
  TitleInput();
  EXPECT_FALSE(arrowKeyLatch);

  Hold(VK_UP);
  TitleInput();
  EXPECT_EQ(menuCursor, 0);
  EXPECT_EQ(titlePulseAlpha, 255);
  Release(VK_UP);
}

TEST_F(MenuInputTest, TitleDownWinsOverUpAndNeitherWrapsNorLatchesAtTheEnds) {
  Hold(VK_DOWN);
  Hold(VK_UP);
  TitleInput();
  TitleInput();
  EXPECT_EQ(menuCursor, 1);
  ReleaseArrows();

  // Down on the last entry does nothing, not even set the latch.
  Hold(VK_DOWN);
  TitleInput();
  EXPECT_EQ(menuCursor, 1);
  EXPECT_FALSE(arrowKeyLatch);
  ReleaseArrows();

  menuCursor = 0;
  Hold(VK_UP);
  TitleInput();
  EXPECT_EQ(menuCursor, 0);
  EXPECT_FALSE(arrowKeyLatch);
}

TEST_F(MenuInputTest, TitleIgnoresArrowsWhileFadingAndSwallowsLeftRightTaps) {
  fadeActive = true;
  Hold(VK_DOWN);
  TitleInput();
  EXPECT_EQ(menuCursor, 0);
  Release(VK_DOWN);
  fadeActive = false;
  TitleInput();

  Hold(VK_LEFT);
  Release(VK_LEFT);
  Hold(VK_RIGHT);
  Release(VK_RIGHT);
  TitleInput();
  // The mode-select screen that follows sees no fresh press.
  ModeSelectInput();
  EXPECT_EQ(selectCursor, 0);
}

TEST_F(MenuInputTest, TitleEnterStartsTheFadeOrQuits) {
  scene = SCENE_TITLE;
  Hold(VK_RETURN);
  TitleEnterRule();
  EXPECT_TRUE(fadeActive);
  EXPECT_TRUE(enterKeyLatch);
  Release(VK_RETURN);
  GetAsyncKeyState(VK_RETURN);
  TitleEnterRule();
  EXPECT_FALSE(enterKeyLatch);

  // Quit acts at once even with the arrow latch set.
  fadeActive = false;
  menuCursor = 1;
  arrowKeyLatch = true;
  Hold(VK_RETURN);
  TitleEnterRule();
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, (UINT)WM_QUIT);
  EXPECT_EQ(msg.wParam, (WPARAM)0);
  EXPECT_FALSE(fadeActive);
}

TEST_F(MenuInputTest, EnterOnTheFrameThatSwitchedTheSceneStartsNoFade) {
  // The title's fade ended inside this frame: the scene is already 1.
  scene = SCENE_MODE_SELECT;
  Hold(VK_RETURN);
  TitleEnterRule();
  EXPECT_FALSE(fadeActive);
  EXPECT_TRUE(enterKeyLatch);
  ModeSelectEnterRule();  // held on: the press was spent
  EXPECT_FALSE(fadeActive);
  Release(VK_RETURN);
  ModeSelectEnterRule();
  Hold(VK_RETURN);
  ModeSelectEnterRule();  // the next press acts normally
  EXPECT_TRUE(fadeActive);

  fadeActive = false;
  enterKeyLatch = false;
  scene = SCENE_GAME;  // mode select's fade ended inside this frame
  ModeSelectEnterRule();
  EXPECT_FALSE(fadeActive);
}

struct Move {
  int from;
  int key;
  int to;  // -1: no move
};

TEST_F(MenuInputTest, ModeSelectMovesFollowTheTableAndNothingElse) {
  const Move moves[] = {
      {0, VK_LEFT, 2},  {0, VK_RIGHT, 3}, {0, VK_DOWN, 2}, {0, VK_UP, -1},
      {2, VK_LEFT, -1}, {2, VK_RIGHT, 3}, {2, VK_DOWN, -1}, {2, VK_UP, 0},
      {3, VK_LEFT, 2},  {3, VK_RIGHT, -1}, {3, VK_DOWN, -1}, {3, VK_UP, 0},
  };
  for (const Move& move : moves) {
    SCOPED_TRACE(testing::Message() << "from " << move.from << " key " << move.key);
    selectCursor = move.from;
    selectZoom = 0.5f;
    arrowKeyLatch = false;
    Hold(move.key);
    ModeSelectInput();
    Release(move.key);
    GetAsyncKeyState(move.key);
    if (move.to < 0) {
      EXPECT_EQ(selectCursor, move.from);
      EXPECT_FALSE(arrowKeyLatch);
      EXPECT_FLOAT_EQ(selectZoom, 0.6f);
    } else {
      EXPECT_EQ(selectCursor, move.to);
      EXPECT_TRUE(arrowKeyLatch);
      EXPECT_FLOAT_EQ(selectZoom, 0.1f);  // reset, then grown once
    }
    EXPECT_FLOAT_EQ(selectScale[selectCursor], 1.5f);
    EXPECT_EQ(selectAlpha[selectCursor], 255);
  }
}

TEST_F(MenuInputTest, ModeSelectKeyPriorityIsLeftRightDownUp) {
  // From 2, Down has no move; with Down held, Up is never polled.
  selectCursor = 2;
  Hold(VK_DOWN);
  Hold(VK_UP);
  ModeSelectInput();
  EXPECT_EQ(selectCursor, 2);
  EXPECT_FALSE(arrowKeyLatch);
  ReleaseArrows();

  selectCursor = 3;
  Hold(VK_LEFT);
  Hold(VK_UP);
  ModeSelectInput();
  EXPECT_EQ(selectCursor, 2);
  ReleaseArrows();

  selectCursor = 0;
  Hold(VK_RIGHT);
  Hold(VK_DOWN);
  ModeSelectInput();
  EXPECT_EQ(selectCursor, 3);
  EXPECT_EQ(selectAlpha[0], 50);
  EXPECT_FLOAT_EQ(selectScale[2], 0.6f);
}

TEST_F(MenuInputTest, ModeSelectZoomGrowsForTenFramesThenHolds) {
  selectZoom = 0.0f;
  for (int frame = 0; frame < 9; ++frame) ModeSelectInput();
  EXPECT_LT(selectZoom, 1.0f);
  ModeSelectInput();
  EXPECT_EQ(selectZoom, 1.0000001f);
  ModeSelectInput();
  EXPECT_EQ(selectZoom, 1.0000001f);
}

TEST_F(MenuInputTest, ModeSelectStarsFlyAndRespawnAhead) {
  for (Star& star : stars) {
    star.pos = D3DXVECTOR3(1.5f, 2.5f, 50.0f);
    star.color = {10.0f, 20.0f, 30.0f};
  }
  stars[0].pos.z = -1.9f;  // to -4.9: still flying
  stars[1].pos.z = -2.0f;  // to -5.0: respawns
  ModeSelectInput();
  EXPECT_FLOAT_EQ(stars[0].pos.z, -4.9f);
  EXPECT_FLOAT_EQ(stars[0].pos.x, 1.5f);
  EXPECT_FLOAT_EQ(stars[2].pos.z, 47.0f);
  const Star& reborn = stars[1];
  EXPECT_GE(reborn.pos.x, -100.0f);
  EXPECT_LE(reborn.pos.x, 99.0f);
  EXPECT_GE(reborn.pos.y, -100.0f);
  EXPECT_LE(reborn.pos.y, 99.0f);
  EXPECT_GE(reborn.pos.z, 100.0f);
  EXPECT_LE(reborn.pos.z, 299.0f);
  EXPECT_EQ(reborn.pos.z, (float)(int)reborn.pos.z);
  EXPECT_FLOAT_EQ(reborn.color.g, 20.0f);
}

}  // namespace
