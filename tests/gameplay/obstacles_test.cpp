// Recycling, grazes, hits, item pickup, the passing sound and the crash with
// its best-score entry. The ship stands at (0, 0, -60) when the update reads it.
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "game/round_flow.h"
#include "gameplay/gameplay_fixture.h"
#include "support/files.h"

using Obstacles = Gameplay;

namespace {

void PlaceRock(int slot, int kind, float x, float y, float z) {
  rocks[slot] = Rock{};
  rocks[slot].kind = kind;
  rocks[slot].pos = D3DXVECTOR3(x, y, z);
  rocks[slot].scale = 1.0f;
  rocks[slot].hitRadius = 13.0f;
  rocks[slot].grazeRadius = kind == KIND_DUST ? 10.0f : 17.0f;
}

}  // namespace

TEST_F(Obstacles, SlotFiftyBehindComesBackAheadOnlyBeforeTheEventZone) {
  StartFlying();
  EmptyCourse();
  PlaceRock(3, KIND_STONE, 5, 5, -110);  // exactly 50 behind
  PlaceRock(4, KIND_STONE, 5, 5, -109);
  srand(1);
  Step();
  CrtRand r;
  int y = r.Next() % 120 - 60, x = r.Next() % 120 - 60, z = r.Next() % 200 + 300 - 60;
  int pick = r.Next() % 30;
  EXPECT_EQ(rocks[3].pos, D3DXVECTOR3((float)x, (float)y, (float)z));
  EXPECT_EQ(rocks[3].kind, pick == 0 ? KIND_ITEM : pick <= 25 ? KIND_STONE : KIND_DUST);
  EXPECT_EQ(rocks[3].spinY, r.Next() % 360);
  EXPECT_EQ(rocks[4].pos.z, -109.0f);

  for (int variant = 0; variant < 2; ++variant) {  // past level x 2500, or in an event
    StartFlying();
    EmptyCourse();
    float shipZ = variant == 0 ? 2501.0f : -60.0f;
    Player.world._43 = Player.flightFrame._43 = shipZ;
    Gate.kind = variant == 0 ? GATE_NONE : GATE_VIEW_BELOW, Gate.caution = variant == 1;
    PlaceRock(3, KIND_STONE, 5, 5, shipZ - 60);
    Step();
    EXPECT_EQ(rocks[3].pos.z, shipZ - 60) << variant;
  }
}

TEST_F(Obstacles, GrazesCostAPointEachAboveTenAndDustNeverCrashes) {
  StartFlying();
  EmptyCourse();
  PlaceRock(0, KIND_DUST, 0, 0, -49.5f);   // 10.5 away: grazed, inside hit reach
  PlaceRock(1, KIND_DUST, 0, 11.5f, -60);  // 11.5 away: not grazed
  PlaceRock(2, KIND_STONE, 15, 0, -60);    // 15 away: grazed, not hit
  Round.score = 20.0f;
  Step();
  EXPECT_EQ(Graze.sparkPos, D3DXVECTOR3(3.0f, 0.0f, 0.0f));  // the last grazing slot
  EXPECT_NEAR(Round.score, 18.0f + 1.0f / 30.0f, 1e-4);
  EXPECT_EQ(Restarts(SND_GRAZE).size(), 2u);
  Round.score = 10.0f;
  Step();
  EXPECT_NEAR(Round.score, 10.0f + 1.0f / 30.0f, 1e-4);
}

TEST_F(Obstacles, ItemIsTakenOnceAndGhostOrFreeViewTestNothing) {
  StartFlying();
  EmptyCourse();
  PlaceRock(5, KIND_ITEM, 0, 0, -50);
  Step();
  EXPECT_TRUE(Item.spinning);
  EXPECT_EQ(rocks[5].kind, KIND_GONE);
  EXPECT_EQ(CountCalls(SND_ITEM_GET, "Play") - CountCalls(SND_ITEM_GET, "Rewind"), 1);
  PlaceRock(6, KIND_ITEM, 0, 0, -50);  // the roulette runs: left in the course
  Step();
  EXPECT_EQ(rocks[6].kind, KIND_ITEM);

  for (int variant = 0; variant < 2; ++variant) {
    StartFlying();
    EmptyCourse();
    if (variant == 0) Item.effect = EFFECT_GHOST, Item.spinning = true, Item.timer = 100;
    if (variant == 1) Round.mode = MODE_FREE_VIEW;
    PlaceRock(0, KIND_STONE, 0, 0, -55);
    PlaceRock(1, KIND_ITEM, 0, 5, -55);
    PlaceRock(2, KIND_STONE, 0, 0, -200);
    Step();
    EXPECT_EQ(Round.phase, PHASE_FLYING) << variant;
    EXPECT_EQ(rocks[1].kind, KIND_ITEM) << variant;
    EXPECT_EQ(rocks[2].pos.z == -200.0f, variant == 1);  // free view recycles nothing
  }
}

TEST_F(Obstacles, PassingSoundFollowsTheLastQualifyingSlot) {
  StartFlying();
  EmptyCourse();
  PlaceRock(2, KIND_STONE, 20, -20, -70);  // box corner, bounds included
  PlaceRock(7, KIND_DUST, -5, 3, 10);
  PlaceRock(9, KIND_STONE, 0, 0, 11);      // 71 ahead: outside
  passSoundMoves = 0;
  Step();
  EXPECT_EQ(passSoundMoves, 2);
  EXPECT_EQ(passSoundAt, D3DXVECTOR3(-5, 3, 10));
}

TEST_F(Obstacles, CrashEndsTheRoundAndSavesTheNewTableAtOnce) {
  const std::string dir = MakeScratchDir("crash");
  std::filesystem::create_directories(dir + "/TEXT");
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  auto inDir = std::make_unique<WorkingDirectory>(dir);

  StartFlying();
  EmptyCourse();
  bestScores[0] = 300, bestScores[1] = 200, bestScores[2] = 100;
  PlaceRock(4, KIND_STONE, 0, 3, -55);
  Round.score = 201.9f;  // the graze in the same frame takes one point
  Hold(VK_RETURN);       // held through the crash
  Step();
  EXPECT_EQ(Round.phase, PHASE_CRASHED);
  EXPECT_EQ(Screen.tint.b, 150.0f);
  for (int slot = 0; slot < SOUND_SLOT_COUNT; ++slot) EXPECT_GE(CountCalls(slot, "Stop"), 1);
  EXPECT_EQ(CountCalls(PASS_SOUND, "Stop"), 1);
  EXPECT_EQ(ReadText(dir + "/TEXT/ranking.txt"), "300 200 200 ");
  Step();  // Enter still down: leave
  EXPECT_EQ(scene, SCENE_MODE_SELECT);

  inDir.reset();
  unsetenv("XDG_DATA_HOME");
  EXPECT_FALSE(InsertBestScore(99.9f));
  EXPECT_TRUE(InsertBestScore(300.0f));  // equal goes above
  EXPECT_EQ(bestScores[1], 300);
  EXPECT_EQ(bestScores[2], 200);

  scene = SCENE_GAME;  // free view: Enter leaves at once, whatever the latch
  StartFlying();
  Round.mode = MODE_FREE_VIEW;
  enterKeyLatch = true;
  Step();
  EXPECT_EQ(scene, SCENE_MODE_SELECT);
}
