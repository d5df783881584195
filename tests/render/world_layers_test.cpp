// The effect layers and the ship: what each game condition leaves out, the
// speed-line opacity, the explosion's last frame and the fog on stones.
#include "render/render_fixture.h"

namespace rendertest {
namespace {

using WorldLayersTest = RenderTest;

TEST_F(WorldLayersTest, CrashGhostAndDashEachLeaveOutTheirParts) {
  Frame();
  EXPECT_GE(ShipMeshDraws(), 1);
  EXPECT_EQ(Count(texEffect2, 0), 3);
  EXPECT_EQ(Count(texEffect1, 0), 3);
  EXPECT_EQ(Count(texBLight, 0), 54);  // 3 nozzles x 9 segments x 2 ribbons
  EXPECT_EQ(Count(texBaku1, 0), 0);

  // Crashed: the explosion instead of ship, glows and trails; the speed
  // lines still follow the hands-off count.
  Player.crashed = true;
  Round.phase = PHASE_CRASHED;
  Player.handsOffFrames = 40;
  Frame();
  EXPECT_EQ(ShipMeshDraws(), 0);
  EXPECT_EQ(Count(texEffect2, 0) + Count(texEffect1, 0) + Count(texBLight, 0), 0);
  EXPECT_EQ(Count(texBaku1, 0), 1);
  EXPECT_EQ(Count(texKaze3, 0), 30);

  // Ghost: no ship mesh and no marker in the world, glows and trails stay;
  // the ship goes onto the back buffer under the world image instead.
  SetUp();
  Item.effect = EFFECT_GHOST;
  Probe.markers[0] = D3DXVECTOR3(0, 0, PZ + 20.0f);
  Frame();
  EXPECT_EQ(ShipMeshDraws(), 0);
  EXPECT_GE(ShipMeshDraws(Gfx.backBuffer), 1);
  EXPECT_EQ(Count(texAsist, 0), 0);
  EXPECT_EQ(Count(texEffect2, 0), 3);
  EXPECT_EQ(Count(texBLight, 0), 54);

  SetUp();
  Player.dashing = true;
  Player.dashSpin = 40.0f;
  Frame();
  EXPECT_EQ(Count(texBLight, 0), 0);
  EXPECT_EQ(Count(texEffect2, 0), 3);
  int turned = 0;  // Scale(3) x RotZ(40 degrees): _11 = 3 cos 40
  for (const DrawRecord& r : log) turned += r.vertices.empty() && std::fabs(r.world._11 - 2.2981333f) < 1e-4f;
  EXPECT_GE(turned, 1) << "the ship mesh turns with the dash";
}

TEST_F(WorldLayersTest, MarkerLevelWithTheShipIsDrawnOneBehindIsNot) {
  Probe.markers[1] = D3DXVECTOR3(0, 0, PZ);
  Probe.markers[2] = D3DXVECTOR3(0, 0, PZ - 0.5f);
  Frame();
  ASSERT_EQ(Count(texAsist, 0), 1);
  EXPECT_EQ(Draws(texAsist, 0)[0]->world._43, PZ);
  EXPECT_EQ(Vertices(*Draws(texAsist, 0)[0])[0].color, 0x9BFF3737u);
}

TEST_F(WorldLayersTest, SpeedLinesTurnOpaqueAtFiveHundredPoints) {
  Player.handsOffFrames = 39;
  Frame();
  EXPECT_EQ(Count(texKaze3, 0), 0);
  Player.handsOffFrames = 40;
  Round.score = 499.9f;
  Frame();
  ASSERT_EQ(Count(texKaze3, 0), 30);
  EXPECT_EQ(Vertices(*Draws(texKaze3, 0)[0])[0].color >> 24, 155u);
  Round.score = 500.0f;
  Frame();
  ASSERT_EQ(Count(texKaze3, 0), 30);
  EXPECT_EQ(Vertices(*Draws(texKaze3, 0)[0])[0].color >> 24, 255u);
}

TEST_F(WorldLayersTest, PauseHidesTheSpeedDownSheetsButNotTheSpeedUpSheets) {
  Round.phase = PHASE_PAUSED;
  Item.effect = EFFECT_SPEED_DOWN;
  Frame();
  EXPECT_EQ(Count(texSmoke2, 0), 0);
  Item.effect = EFFECT_SPEED_UP;
  Frame();
  ASSERT_EQ(Count(texSmoke2, 0), 3);
  EXPECT_EQ(Vertices(*Draws(texSmoke2, 0)[0])[0].color, 0xFF3737FFu);
  Round.phase = PHASE_FLYING;
  Item.effect = EFFECT_SPEED_DOWN;
  Frame();
  ASSERT_EQ(Count(texSmoke2, 0), 3);
  EXPECT_EQ(Vertices(*Draws(texSmoke2, 0)[0])[0].color, 0xFFFF3737u);
}

TEST_F(WorldLayersTest, LastExplosionFrameSpansTheStripsLastSixteenth) {
  Player.crashed = true;
  Round.phase = PHASE_CRASHED;
  Round.explosionFrame = 15;
  Frame();
  ASSERT_EQ(Count(texBaku1, 0), 1);
  const Vertex* v = Vertices(*Draws(texBaku1, 0)[0]);
  EXPECT_FLOAT_EQ(v[0].u, 0.9375f);
  EXPECT_FLOAT_EQ(v[1].u, 1.0f);
  EXPECT_FLOAT_EQ(v[2].u, 1.0f);
  EXPECT_FLOAT_EQ(v[3].u, 0.9375f);
}

TEST_F(WorldLayersTest, FogHalvesAStoneAtTwoHundredFiftyAndBlackensOneAtThreeHundredTwenty) {
  // Ghost keeps the ship mesh out of the picture. A stone at x -130 lands at
  // sx = 400 - 519.6 * 130 / d, d being the eye depth (ship + 8).
  Item.effect = EFFECT_GHOST;
  auto stoneAt = [&](float ahead, bool fog) {
    PlaceRock(0, KIND_STONE, -130.0f, 0, PZ + ahead);
    Gfx.device->SetRenderState(D3DRS_FOGENABLE, fog);
    Frame();
    Gfx.device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    return Brightness(Gfx.sceneSurface, (int)(400.0f - 519.6f * 130.0f / (ahead + 8.0f)), 300);
  };
  const double clear250 = stoneAt(250, false), fogged250 = stoneAt(250, true);
  ASSERT_GE(clear250, 30.0);
  // Linear fog from 200 to 300 at eye depth about 258 (the stone's near
  // face a little less): about 0.42 to 0.5 of the colour is left.
  EXPECT_NEAR(fogged250 / clear250, 0.45, 0.12);
  const double clear320 = stoneAt(320, false), fogged320 = stoneAt(320, true);
  ASSERT_GE(clear320, 30.0);
  EXPECT_LE(fogged320, 3.0);
}

}  // namespace
}  // namespace rendertest
