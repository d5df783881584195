// Round reset, stage switch and the arrow-gate event.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "gameplay/gameplay_fixture.h"

using Gates = Gameplay;

namespace {

// A gate waiting for its arrows, the ship flying at the event's speed.
void WaitAtGate(std::initializer_list<int> arrows, float approach = 0.0f) {
  Gate = GateRecord{};
  Gate.kind = GATE_VIEW_BELOW;
  Gate.approach = approach;
  std::copy(arrows.begin(), arrows.end(), Gate.arrows);
  Player.cruiseSpeed = 2.0f;
  Player.velZ = 1.98f;
  rocks[0].kind = KIND_STONE;
  rocks[0].hitRadius = 13.0f;
}

}  // namespace

TEST_F(Gates, ResetScattersStonesInRandomOrderOnlyForANormalRun) {
  ResetRound();
  CrtRand r;
  for (int k = 0; k < ROCK_COUNT; ++k) {
    int x = r.Next() % 120 - 60, y = r.Next() % 120 - 60, z = r.Next() % 300 + 200;
    EXPECT_EQ(rocks[k].pos, D3DXVECTOR3((float)x, (float)y, (float)z)) << k;
    EXPECT_EQ(rocks[k].spinY, r.Next() % 360) << k;
  }
  EXPECT_EQ(Item.flashX, (float)(r.Next() % 601 + 100));
  EXPECT_FLOAT_EQ(Player.trailEmitters[2]._43, -62.8f);

  // Free view keeps the pool; a dash left running finishes in the countdown.
  rocks[4].kind = KIND_DUST;
  Rock before[ROCK_COUNT];
  std::memcpy((void*)before, (void*)rocks, sizeof rocks);
  selectCursor = 2;
  Player.dashing = true;
  ResetRound();
  EXPECT_EQ(std::memcmp((void*)before, (void*)rocks, sizeof rocks), 0);
  EXPECT_TRUE(Player.dashing);
  Step(18);
  EXPECT_FALSE(Player.dashing);
}

TEST_F(Gates, StageSwitchStartsAndEndsAnEventAndStopsAnyItemEffect) {
  StartFlying();
  Item.spinning = true, Item.effect = EFFECT_SPEED_UP;
  srand(1);
  SwitchStage();
  CrtRand r;
  EXPECT_EQ(Gate.kind, r.Next() % 3 + 1);
  for (int arrow : Gate.arrows) EXPECT_EQ(arrow, r.Next() % 4);
  EXPECT_TRUE(Gate.caution);
  EXPECT_EQ(Player.cruiseSpeed, 2.0f);
  EXPECT_EQ(Item.effect, EFFECT_NONE);

  Item.spinning = true, Item.effect = EFFECT_GHOST;
  rocks[9].pos = D3DXVECTOR3(7, -8, 900);
  rocks[9].kind = KIND_GONE;
  Player.world._43 = Player.flightFrame._43 = 500.0f;
  SwitchStage();
  EXPECT_EQ(Round.level, 1.5f);
  EXPECT_EQ(Player.cruiseSpeed, 1.5f);
  EXPECT_EQ(Player.flightFrame._43, -60.0f);
  for (const Rock& rock : rocks) {
    EXPECT_EQ(rock.kind, KIND_STONE);
    EXPECT_TRUE(rock.pos.z >= 200 && rock.pos.z <= 499);
  }
  EXPECT_EQ(rocks[9].pos.x, 7.0f);
  EXPECT_EQ(Item.effect, EFFECT_NONE);
}

TEST_F(Gates, EventStartsAtLevelTimes3000ThenCautionFlashesThreeTimes) {
  StartFlying();
  EmptyCourse();
  Player.world._43 = Player.flightFrame._43 = 2999.99f;
  Step();
  EXPECT_EQ(Gate.kind, GATE_NONE);  // read before this frame's move
  Player.world._43 = Player.flightFrame._43 = 3000.0f;
  EXPECT_EQ(StepUntil([] { return !Gate.caution; }, 400), 255);
  EXPECT_EQ(Restarts(SND_CAUTION), (std::vector<int>{frame - 254, frame - 169, frame - 84}));
  for (int k = 1; k < GATE_COUNT; ++k) EXPECT_EQ(rocks[k].pos, Player.pos + D3DXVECTOR3(0, 0, -200));
  EXPECT_EQ(rocks[0].pos, Player.pos + D3DXVECTOR3(0, 0, 250));  // the first gate comes

  StartFlying();  // free view never starts one
  selectCursor = 2;
  Player.world._43 = Player.flightFrame._43 = 3100.0f;
  Step();
  EXPECT_EQ(Gate.kind, GATE_NONE);
}

TEST_F(Gates, ArrowKeysEnterOncePerPressAndTheFifthClearsTheGate) {
  StartFlying();
  EmptyCourse();
  WaitAtGate({1, 3, 0, 2, 1});
  Hold(VK_RIGHT);
  Hold(VK_LEFT);  // right is looked at first
  Step(3);        // held: enters once
  Release(VK_RIGHT);
  Release(VK_LEFT);
  EXPECT_EQ(Gate.arrows[0], 3);
  EXPECT_FLOAT_EQ(Gate.approach, 1.0f);
  Press(VK_UP);  // wrong: the stone comes 30 closer
  EXPECT_NEAR(Gate.approach, 31.0f + 2.0f / 3.0f, 1e-4);

  for (int vk : {VK_LEFT, VK_UP, VK_DOWN, VK_RIGHT}) Press(vk);
  EXPECT_EQ(Restarts(SND_ARROW_ERASE).size(), 5u);
  EXPECT_EQ(Gate.index, 1);
  EXPECT_TRUE(rocks[0].vanishing);
  EXPECT_NEAR(Round.score, 100.0f, 1.0f);  // plus a little distance
  EXPECT_EQ(Restarts(SND_SUCCESS), std::vector<int>{frame});
  Press(VK_DOWN);  // input is off until the next gate
  EXPECT_EQ(Restarts(SND_MISS).size(), 1u);

  // The next gate starts when the dodge has died away to exactly 0.
  StepUntil([] { return Gate.state == GATE_WAITING; }, 400);
  EXPECT_EQ(Player.velX, 0.0f);
  EXPECT_EQ(Player.velY, 0.0f);
}

TEST_F(Gates, StoneAt210AdvancesOnceMoreThenFailsAndTheShipHitsIt) {
  StartFlying();
  EmptyCourse();
  WaitAtGate({0, 0, 0, 0, 0}, 210.0f);
  Step();
  EXPECT_EQ(Gate.state, GATE_WAITING);
  Step();
  EXPECT_EQ(Gate.state, GATE_FAILED);
  EXPECT_LT(StepUntil([] { return Round.phase == PHASE_CRASHED; }, 100), 100);

  StartFlying();  // a gate cleared as its stone passes 210 still moves on
  EmptyCourse();
  WaitAtGate({1, 5, 5, 5, 5}, 209.9f);
  Hold(VK_RIGHT);
  Step();
  EXPECT_EQ(Gate.state, GATE_CLEARED);
  StepUntil([] { return Gate.state != GATE_CLEARED; }, 400);
  EXPECT_EQ(Gate.state, GATE_WAITING);
}

TEST_F(Gates, SeventhGateEndsTheStageAndTheNextEventWaitsFor4500) {
  StartFlying();
  EmptyCourse();
  WaitAtGate({5, 5, 5, 5, 5});
  Gate.index = GATE_COUNT - 1;
  rocks[GATE_COUNT - 1] = rocks[0];
  StepUntil([] { return Gate.kind == GATE_NONE; }, 400);
  EXPECT_EQ(Round.level, 1.5f);
  Player.world._43 = Player.flightFrame._43 = 4499.0f;
  Step();
  EXPECT_EQ(Gate.kind, GATE_NONE);
  Player.world._43 = Player.flightFrame._43 = 4500.0f;
  Step();
  EXPECT_NE(Gate.kind, GATE_NONE);
}
