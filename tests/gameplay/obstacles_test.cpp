// Recycling, grazes, hits, item pickup, the passing sound and the crash with
// its best-score entry.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "game/round_flow.h"
#include "gameplay/gameplay_fixture.h"

using Obstacles = Gameplay;

namespace {

// Ship at (0, 0, -60) when the update reads its position.
Rock& PlaceRock(int slot, int kind, float x, float y, float z) {
  Rock& rock = rocks[slot];
  rock.kind = kind;
  rock.pos = D3DXVECTOR3(x, y, z);
  rock.scale = 1.0f;
  rock.hitRadius = 13.0f;
  rock.grazeRadius = kind == KIND_DUST ? 10.0f : 17.0f;
  rock.vanishing = false;
  return rock;
}

}  // namespace

TEST_F(Obstacles, SlotFiftyBehindComesBackAheadOnlyBeforeTheEventZone) {
  StartFlying();
  EmptyCourse();
  PlaceRock(3, KIND_STONE, 5, 5, -110);  // exactly 50 behind
  PlaceRock(4, KIND_STONE, 5, 5, -109);  // not yet
  srand(1);
  CrtRand r;
  Step();
  int y = r.Next() % 120 - 60, x = r.Next() % 120 - 60, z = r.Next() % 200 + 300 - 60;
  int pick = r.Next() % 30, spin = r.Next() % 360;
  EXPECT_EQ(rocks[3].pos, D3DXVECTOR3((float)x, (float)y, (float)z));
  EXPECT_EQ(rocks[3].kind, pick == 0 ? KIND_ITEM : pick <= 25 ? KIND_STONE : KIND_DUST);
  EXPECT_EQ(rocks[3].spinY, spin);
  EXPECT_EQ(rocks[4].pos.z, -109.0f);

  // Beyond level x 2500, or while an event runs, nothing comes back.
  for (int variant = 0; variant < 2; ++variant) {
    StartFlying();
    EmptyCourse();
    float shipZ = variant == 0 ? 2501.0f : -60.0f;
    Player.world._43 = Player.flightFrame._43 = shipZ;
    if (variant == 1) Gate.kind = 2, Gate.caution = true;
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
  EXPECT_EQ(Round.phase, PHASE_FLYING);
  EXPECT_TRUE(Graze.active);
  EXPECT_EQ(Graze.sparkPos, D3DXVECTOR3(3.0f, 0.0f, 0.0f));  // the last grazing slot
  EXPECT_NEAR(Round.score, 18.0f + 1.0f / 30.0f, 1e-4);
  EXPECT_EQ(Restarts(SND_GRAZE).size(), 2u);
  EXPECT_EQ(Round.flashKind, 1);

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
  EXPECT_EQ(CountCalls(SND_ITEM_GET, "Play"), 1);
  EXPECT_EQ(CountCalls(SND_ITEM_GET, "Rewind"), 0);

  PlaceRock(6, KIND_ITEM, 0, 0, -50);  // the roulette runs: left in the course
  Step();
  EXPECT_EQ(rocks[6].kind, KIND_ITEM);

  for (int variant = 0; variant < 2; ++variant) {
    StartFlying();
    EmptyCourse();
    if (variant == 0) Item.effect = EFFECT_GHOST, Item.spinning = true, Item.timer = 100;
    if (variant == 1) Round.mode = MODE_FREE_VIEW, selectCursor = 2;
    PlaceRock(0, KIND_STONE, 0, 0, -55);
    PlaceRock(1, KIND_ITEM, 0, 5, -55);
    PlaceRock(2, KIND_STONE, 0, 0, -200);  // far behind
    Round.score = 20.0f;
    Step();
    EXPECT_EQ(Round.phase, PHASE_FLYING) << variant;
    EXPECT_FALSE(Graze.active) << variant;
    EXPECT_EQ(rocks[1].kind, KIND_ITEM) << variant;
    if (variant == 1) {
      EXPECT_EQ(rocks[2].pos.z, -200.0f);  // nothing recycled
    }
  }
}

TEST_F(Obstacles, PassingSoundFollowsTheLastQualifyingSlot) {
  StartFlying();
  EmptyCourse();
  PlaceRock(2, KIND_STONE, 20, -20, -70);  // box corner, bounds included
  PlaceRock(7, KIND_DUST, -5, 3, 10);
  PlaceRock(9, KIND_STONE, 0, 0, 11);      // 71 ahead: outside
  PlaceRock(12, KIND_GONE, 0, 0, 0);       // gone: never
  passSoundMoves = 0;
  Step();
  EXPECT_EQ(passSoundMoves, 2);
  EXPECT_EQ(passSoundAt, D3DXVECTOR3(-5, 3, 10));
}

TEST_F(Obstacles, CrashEndsTheRoundAndSavesTheNewTableAtOnce) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("corvane-crash-" + std::to_string(getpid()));
  fs::create_directories(dir / "TEXT");
  fs::path home = fs::current_path();
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  fs::current_path(dir);

  StartFlying();
  EmptyCourse();
  bestScores[0] = 300, bestScores[1] = 200, bestScores[2] = 100;
  PlaceRock(4, KIND_STONE, 0, 3, -55);
  Round.score = 201.9f;  // the graze in the same frame takes one point
  Hold(VK_RETURN);       // held through the crash
  Step();
  EXPECT_EQ(Round.phase, PHASE_CRASHED);
  EXPECT_TRUE(Player.crashed);
  EXPECT_EQ(Player.cruiseSpeed, 0.0f);
  EXPECT_EQ(Screen.tint.r, 150.0f);
  EXPECT_EQ(Screen.tint.b, 150.0f);
  for (int slot = 0; slot < SOUND_SLOT_COUNT; ++slot) EXPECT_GE(CountCalls(slot, "Stop"), 1) << slot;
  EXPECT_EQ(CountCalls(PASS_SOUND, "Stop"), 1);
  EXPECT_EQ(bestScores[0], 300);
  EXPECT_EQ(bestScores[1], 200);
  EXPECT_EQ(bestScores[2], 200);
  std::ifstream file(dir / "TEXT" / "ranking.txt");
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), "300 200 200 ");

  EXPECT_EQ(scene, SCENE_GAME);
  Step();  // Enter still down: leave
  EXPECT_EQ(scene, SCENE_MODE_SELECT);
  EXPECT_EQ(Screen.tint.g, 0.0f);

  fs::current_path(home);
  fs::remove_all(dir);
  unsetenv("XDG_DATA_HOME");

  EXPECT_FALSE(InsertBestScore(99.9f));
  EXPECT_EQ(bestScores[2], 200);
  EXPECT_TRUE(InsertBestScore(300.0f));  // equal goes above
  EXPECT_EQ(bestScores[0], 300);
  EXPECT_EQ(bestScores[1], 300);
  EXPECT_EQ(bestScores[2], 200);
}

TEST_F(Obstacles, FreeViewEnterLeavesAtOnceWhateverTheLatch) {
  StartFlying();
  Round.mode = MODE_FREE_VIEW;
  selectCursor = 2;
  enterKeyLatch = true;
  Hold(VK_RETURN);
  Step();
  EXPECT_EQ(scene, SCENE_MODE_SELECT);
  EXPECT_EQ(selectCursor, 0);
  EXPECT_EQ(CountCalls(PASS_SOUND, "Stop"), 1);
}
