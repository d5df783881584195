// The head-up display by phase and mode, and the composite: the world
// image's tint and alpha, the boards over it and the pause cursor.
#include <utility>

#include "render/render_fixture.h"

namespace rendertest {
namespace {

using HudTest = RenderTest;
using ComposeTest = RenderTest;

// Every head-up display part that can show at once: the roulette, the flash,
// the rock-vanish sign and a gate's arrow panel with its burst.
void ShowEveryHudPart() {
  Item.effect = EFFECT_FLASH;
  Item.spinning = true;
  Item.timer = 100.0f;
  Item.flashTimer = 5.0f;
  Item.vanishEffect = true;
  Item.vanishTimer = 2.0f;
  Gate.kind = GATE_VIEW_BELOW;
  Gate.erasing = true;
  Gate.state = GATE_CLEARED;
  Gate.arrowAlpha = 200;
  Gate.arrowScale = 1.0f;
}

// Screen sprites in the scene besides the two nebulae (a gate event keeps
// the other bodies away).
int HudSpritesInScene(const std::vector<DrawRecord>& log) {
  int n = 0;
  for (const DrawRecord& r : log)
    n += r.target == Gfx.sceneSurface && r.projection._34 == 0.0f && r.texture != texBack2;
  return n;
}

TEST_F(HudTest, CountdownScorePanelAndBoardFollowPhaseAndMode) {
  Round.phase = PHASE_COUNTDOWN;
  Round.countdownTimer = 9.0f;
  Frame();
  EXPECT_EQ(Count(tex321, 1), 1);
  EXPECT_EQ(Count(texDam2, 1), 0);
  EXPECT_EQ(Count(tex123, 1), 0);

  Round.phase = PHASE_FLYING;
  Frame();
  EXPECT_EQ(Count(tex321, 1), 0);
  EXPECT_EQ(Count(texDam2, 1), 1);
  EXPECT_EQ(Count(tex123, 1), 4);  // 1, 0, 0 and the glyph

  ShowEveryHudPart();
  Frame();
  EXPECT_GE(HudSpritesInScene(log), 8);
  for (int phase : {PHASE_CRASHED, PHASE_PAUSED}) {
    Round.phase = phase;
    Frame();
    EXPECT_EQ(HudSpritesInScene(log), 0) << "phase " << phase;
  }

  // Free view: no numeral, panel or score, but the board in every phase.
  SetUp();
  Round.mode = MODE_FREE_VIEW;
  bestScores[0] = 300, bestScores[1] = 20, bestScores[2] = 1;
  for (int phase = PHASE_COUNTDOWN; phase <= PHASE_PAUSED; ++phase) {
    Round.phase = phase;
    Frame();
    EXPECT_EQ(Count(tex321, 1) + Count(texDam2, 1), 0) << "phase " << phase;
    EXPECT_EQ(Count(texMoji2, 1), 3) << "phase " << phase;
    EXPECT_EQ(Count(texTrophy, 1), 3) << "phase " << phase;
    EXPECT_EQ(Count(tex123, 1), 3 + 2 + 1) << "phase " << phase;
  }
}

TEST_F(HudTest, ScoreOfZeroDrawsOnlyTheGlyphAndTheWashFollowsTheFlash) {
  SplitDigits(0);
  Frame();
  ASSERT_EQ(Count(tex123, 1), 1);
  EXPECT_FLOAT_EQ(Width(*Draws(tex123, 1)[0]), 64.0f);
  EXPECT_FLOAT_EQ(CentreX(*Draws(tex123, 1)[0]), 270.0f);

  const std::pair<int, D3DCOLOR> washes[] = {
      {FLASH_WHITE, 0x37FFFFFF}, {FLASH_RED, 0x37FF0000}, {FLASH_BLUE, 0x370000FF}};
  for (const auto& [kind, wash] : washes) {
    Round.flashKind = kind;
    Frame();
    ASSERT_EQ(Count(texDam2, 1), 1);
    EXPECT_EQ(Vertices(*Draws(texDam2, 1)[0])[0].color, wash) << "flash kind " << kind;
  }
}

TEST_F(ComposeTest, TintGreysTheWorldImageTruncatedButNotTheBoards) {
  Round.phase = PHASE_CRASHED;
  Player.crashed = true;
  Screen.tint = {150.0f, 150.0f, 150.0f};
  Frame();
  ASSERT_EQ(Count(Gfx.sceneTexture, 1, Gfx.backBuffer), 1);
  EXPECT_EQ(Vertices(*Draws(Gfx.sceneTexture, 1, Gfx.backBuffer)[0])[0].color, 0xFF969696u);
  int whiteBands = 0;
  for (const DrawRecord* r : Draws(texMoji2, 1, Gfx.backBuffer)) whiteBands += Vertices(*r)[0].color == 0xFFFFFFFF;
  EXPECT_EQ(whiteBands, 3);

  Screen.tint = {254.9f, 100.5f, 0.99f};
  Screen.alpha = 200;
  Frame();
  EXPECT_EQ(Vertices(*Draws(Gfx.sceneTexture, 1, Gfx.backBuffer)[0])[0].color, 0xC8FE6400u);
}

TEST_F(ComposeTest, OpaqueWorldImageHidesTheGhostShipAFadedOneShowsIt) {
  // The same frame with another mesh as the ghost ship: only the faded
  // world image lets the difference through.
  Item.effect = EFFECT_GHOST;
  auto shipPixel = [&](int alpha, bool swapped) {
    Screen.alpha = alpha;
    if (swapped) std::swap(meshGitor, meshItem);
    Frame();
    if (swapped) std::swap(meshGitor, meshItem);
    return Brightness(Gfx.backBuffer, 400, 300);
  };
  EXPECT_NEAR(shipPixel(255, false), shipPixel(255, true), 1.0);
  EXPECT_GT(std::fabs(shipPixel(200, false) - shipPixel(200, true)), 6.0);
}

TEST_F(ComposeTest, PauseCursorStandsBesideTheChosenEntry) {
  Round.phase = PHASE_PAUSED;
  for (int cursor : {0, 1}) {
    menuCursor = cursor;
    Frame();
    ASSERT_EQ(Count(texStar, 1, Gfx.backBuffer), 2);
    for (const DrawRecord* r : Draws(texStar, 1, Gfx.backBuffer))
      EXPECT_NEAR(CentreX(*r), cursor == 0 ? 210.0f : 430.0f, 1e-3f);
  }
}

}  // namespace
}  // namespace rendertest
