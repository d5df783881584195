// The game frame's own drawing: which background bodies and obstacles it
// draws, and the black frame that ends a game.
#include "render/render_fixture.h"

namespace rendertest {
namespace {

using GameFrameTest = RenderTest;

TEST_F(GameFrameTest, LevelTwoKeepsTheNearBodiesAndAboveItOnlyThePlanetShows) {
  IDirect3DTexture9* nearBodies[] = {texBack1, texBack3, texBack4, texBack6};
  Round.level = 2.0f;
  Frame();
  EXPECT_EQ(Count(texBack2, 1), 2);
  for (IDirect3DTexture9* t : nearBodies) EXPECT_EQ(Count(t, 1), 1);
  EXPECT_EQ(Count(texEarth, 1), 0);

  Round.level = 2.5f;
  Frame();
  EXPECT_EQ(Count(texBack2, 1), 2);
  for (IDirect3DTexture9* t : nearBodies) EXPECT_EQ(Count(t, 1), 0);
  EXPECT_EQ(Count(texEarth, 1), 1);
}

TEST_F(GameFrameTest, GateEventAndFreeViewLeaveOutSceneryAndObstacles) {
  // A stone in every slot, slot k at x = k + 1, all 50 ahead and on screen.
  for (int k = 0; k < ROCK_COUNT; ++k) PlaceRock(k, KIND_STONE, (float)(k + 1) * 0.5f, 0, PZ + 50.0f);
  Frame();
  EXPECT_EQ(MeshesAtX().size(), (size_t)ROCK_COUNT);

  Gate.kind = GATE_VIEW_BELOW;
  Gate.caution = true;  // keeps the arrow panel out of the way
  Frame();
  std::vector<float> expected;
  for (int k = 0; k <= 7; ++k) expected.push_back((float)(k + 1) * 0.5f);
  EXPECT_EQ(MeshesAtX(), expected);
  EXPECT_EQ(Count(texBack2, 1), 2);
  for (IDirect3DTexture9* t : {texBack1, texBack3, texBack4, texBack6, texEarth}) EXPECT_EQ(Count(t, 1), 0);

  Gate = GateRecord{};
  Round.mode = MODE_FREE_VIEW;
  PlaceRock(0, KIND_ITEM, 0.5f, 0, PZ + 50.0f);
  Probe.markers[0] = D3DXVECTOR3(0, 0, PZ + 20.0f);
  Frame();
  EXPECT_TRUE(MeshesAtX().empty());
  EXPECT_EQ(Count(texBack2, 1), 2);
  for (IDirect3DTexture9* t : {texBack1, texBack3, texBack4, texBack6, texEarth}) EXPECT_EQ(Count(t, 1), 0);
  EXPECT_EQ(Count(texSmoke2, 0), 0) << "no item halo in free view";
  EXPECT_EQ(Count(texAsist, 0), 0) << "no marker in free view";
}

TEST_F(GameFrameTest, NearObstaclesGetAThousandPixelMarginFarOnesSeventy) {
  // Eye 8 behind on the axis, 60 degrees high, 4:3: at eye depth d a point
  // at x lands on sx = 400 + 400 x / (d tan 30 * 4/3) = 400 + 519.6 x / d.
  PlaceRock(0, KIND_STONE, -100.0f, 0, PZ + 50.0f);  // d 58: sx = -496
  PlaceRock(1, KIND_STONE, -170.0f, 0, PZ + 50.0f);  // sx = -1123
  PlaceRock(2, KIND_STONE, -137.0f, 0, PZ + 150.0f); // d 158: sx = -50.5
  PlaceRock(3, KIND_STONE, -150.0f, 0, PZ + 150.0f); // sx = -93.3
  PlaceRock(4, KIND_STONE, -1.0f, 0, PZ - 51.0f);    // behind the ship
  Frame();
  EXPECT_EQ(MeshesAtX(), (std::vector<float>{-137.0f, -100.0f}));
}

TEST_F(GameFrameTest, BlackTintShowsABlackFrameAndTheNextIsUntinted) {
  // Leaving from the pause menu: the flying frame would whiten the tint
  // itself. The left nebula lights (100, 200) of the world image.
  Round.phase = PHASE_PAUSED;
  Screen.tint = {0.0f, 0.0f, 0.0f};
  Frame();
  ASSERT_GE(Brightness(Gfx.sceneSurface, 100, 200), 30.0);
  EXPECT_LE(Brightness(Gfx.backBuffer, 100, 200), 3.0);
  EXPECT_EQ(Screen.tint.r, 255.0f);
  EXPECT_EQ(Screen.tint.g, 255.0f);
  EXPECT_EQ(Screen.tint.b, 255.0f);
  Frame();
  EXPECT_NEAR(Brightness(Gfx.backBuffer, 100, 200), Brightness(Gfx.sceneSurface, 100, 200), 3.0);
}

}  // namespace
}  // namespace rendertest
