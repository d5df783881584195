// Round reset, stage switch and the arrow-gate event.
#include <cstdlib>
#include <cstring>

#include "gameplay/gameplay_fixture.h"

using Gates = Gameplay;

namespace {

// A gate waiting for its arrows, the ship flying at the event's speed.
void WaitAtGate(std::initializer_list<int> arrows) {
  Round.phase = PHASE_FLYING;
  Gate.kind = 1;
  Gate.caution = false;
  Gate.state = GATE_WAITING;
  Gate.index = 0;
  Gate.approach = 0.0f;
  Gate.keyLatch = false;
  int i = 0;
  for (int arrow : arrows) Gate.arrows[i++] = arrow;
  Player.cruiseSpeed = 2.0f;
  Player.velZ = 1.98f;
  rocks[0].kind = KIND_STONE;
  rocks[0].hitRadius = 13.0f;
  rocks[0].grazeRadius = 17.0f;
}

}  // namespace

TEST_F(Gates, ResetScattersStonesInRandomOrderOnlyForANormalRun) {
  selectCursor = 0;
  srand(1);
  ResetRound();
  CrtRand r;
  for (int k = 0; k < ROCK_COUNT; ++k) {
    int x = r.Next() % 120 - 60, y = r.Next() % 120 - 60, z = r.Next() % 300 + 200;
    EXPECT_EQ(rocks[k].pos, D3DXVECTOR3((float)x, (float)y, (float)z)) << k;
    EXPECT_EQ(rocks[k].spinY, r.Next() % 360) << k;
    EXPECT_EQ(rocks[k].kind, KIND_STONE);
    EXPECT_EQ(rocks[k].grazeRadius, 17.0f);
  }
  EXPECT_EQ(Item.flashX, (float)(r.Next() % 601 + 100));
  EXPECT_EQ(Item.flashY, (float)(r.Next() % 401 + 100));
  EXPECT_EQ(Player.pos, D3DXVECTOR3(0, 0, -60));
  EXPECT_FLOAT_EQ(Player.trailEmitters[2]._42, 1.3f);
  EXPECT_FLOAT_EQ(Player.trailEmitters[2]._43, -62.8f);

  // Free view keeps the pool; a dash left running finishes in the countdown.
  rocks[4].kind = KIND_DUST;
  Rock before[ROCK_COUNT];
  std::memcpy((void*)before, (void*)rocks, sizeof rocks);
  selectCursor = 2;
  Player.dashing = true;
  Player.dashSpin = 140.0f;
  ResetRound();
  EXPECT_EQ(std::memcmp((void*)before, (void*)rocks, sizeof rocks), 0);
  EXPECT_TRUE(Player.dashing);
  EXPECT_EQ(Player.dashSpin, 0.0f);
  Step(18);
  EXPECT_FALSE(Player.dashing);
  EXPECT_EQ(Round.phase, PHASE_COUNTDOWN);
}

TEST_F(Gates, StageSwitchStartsAndEndsAnEventAndStopsAnyItemEffect) {
  StartFlying();
  Player.world._43 = Player.flightFrame._43 = 3000.0f;
  Player.velZ = 0.98f;
  Item.spinning = true, Item.effect = EFFECT_SPEED_UP, Item.timer = 50.0f;
  srand(1);
  SwitchStage();
  CrtRand r;
  EXPECT_EQ(Gate.kind, r.Next() % 3 + 1);
  for (int i = 0; i < GATE_ARROW_COUNT; ++i) EXPECT_EQ(Gate.arrows[i], r.Next() % 4) << i;
  EXPECT_TRUE(Gate.caution);
  EXPECT_EQ(Player.cruiseSpeed, 2.0f);
  EXPECT_EQ(Player.velZ, 0.0f);
  EXPECT_EQ(Player.world._43, -60.0f);
  EXPECT_EQ(Player.flightFrame._43, -60.0f);
  EXPECT_FALSE(Item.spinning);
  EXPECT_EQ(Item.effect, EFFECT_NONE);
  EXPECT_EQ(Item.timer, 200.0f);

  Item.spinning = true, Item.effect = EFFECT_GHOST;
  rocks[9].pos = D3DXVECTOR3(7, -8, 900);
  rocks[9].kind = KIND_GONE;
  srand(1);
  SwitchStage();
  r = CrtRand();
  EXPECT_EQ(Gate.kind, 0);
  EXPECT_EQ(Round.level, 1.5f);
  EXPECT_EQ(Player.cruiseSpeed, 1.5f);
  for (int k = 0; k < ROCK_COUNT; ++k) {
    EXPECT_EQ(rocks[k].pos.z, (float)(r.Next() % 300 + 200)) << k;
    EXPECT_EQ(rocks[k].spinY, r.Next() % 360) << k;
    EXPECT_EQ(rocks[k].kind, KIND_STONE) << k;
  }
  EXPECT_EQ(rocks[9].pos.x, 7.0f);
  EXPECT_EQ(rocks[9].pos.y, -8.0f);
  EXPECT_EQ(Item.effect, EFFECT_NONE);
}

TEST_F(Gates, EventStartsAtLevelTimes3000ThenCautionFlashesThreeTimes) {
  StartFlying();
  EmptyCourse();
  Player.world._43 = Player.flightFrame._43 = 2999.99f;
  Step();
  EXPECT_EQ(Gate.kind, 0);  // read before this frame's move
  Player.world._43 = Player.flightFrame._43 = 3000.0f;
  soundLog.clear();
  int frames = StepUntil([] { return !Gate.caution; }, 400);
  EXPECT_NE(Gate.kind, 0);
  EXPECT_EQ(frames, 255);
  EXPECT_EQ(Restarts(SND_CAUTION), (std::vector<int>{frame - 254, frame - 169, frame - 84}));
  for (int k = 1; k < GATE_COUNT; ++k) {
    EXPECT_EQ(rocks[k].pos, Player.pos + D3DXVECTOR3(0, 0, -200)) << k;
    EXPECT_EQ(rocks[k].kind, KIND_STONE);
  }
  EXPECT_EQ(rocks[0].pos, Player.pos + D3DXVECTOR3(0, 0, 250));  // the first gate comes
  EXPECT_FLOAT_EQ(Gate.approach, 1.0f / 3.0f);

  // Free view never starts one.
  StartFlying();
  Round.mode = MODE_FREE_VIEW;
  selectCursor = 2;
  Player.world._43 = Player.flightFrame._43 = 3100.0f;
  Step();
  EXPECT_EQ(Gate.kind, 0);
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
  EXPECT_EQ(Gate.arrows[4], ARROW_CONSUMED);
  EXPECT_EQ(Restarts(SND_ARROW_ERASE).size(), 1u);
  EXPECT_FLOAT_EQ(Gate.approach, 1.0f);

  Step();
  Hold(VK_UP);  // wrong: the stone comes 30 closer
  Step();
  Release(VK_UP);
  EXPECT_NEAR(Gate.approach, 31.0f + 2.0f / 3.0f, 1e-4);
  EXPECT_EQ(Restarts(SND_MISS).size(), 1u);

  const int rest[] = {VK_LEFT, VK_UP, VK_DOWN, VK_RIGHT};
  for (int vk : rest) {
    Step();
    Hold(vk);
    Step();
    Release(vk);
  }
  EXPECT_EQ(Gate.state, GATE_CLEARED);
  EXPECT_EQ(Gate.index, 1);
  EXPECT_TRUE(rocks[0].vanishing);
  EXPECT_NEAR(Round.score, 100.0f, 1.0f);  // plus a little distance
  EXPECT_EQ(Restarts(SND_SUCCESS), std::vector<int>{frame});
  EXPECT_GE(Player.autoDodge, 1);

  float approach = Gate.approach;
  Hold(VK_DOWN);  // input is off until the next gate
  Step();
  Release(VK_DOWN);
  EXPECT_EQ(Restarts(SND_MISS).size(), 1u);
  EXPECT_EQ(Gate.approach, approach);

  // The next gate starts when the dodge has died away to exactly 0.
  StepUntil([] { return Gate.state == GATE_WAITING; }, 400);
  EXPECT_EQ(Player.velX, 0.0f);
  EXPECT_EQ(Player.velY, 0.0f);
  EXPECT_FLOAT_EQ(Gate.approach, 1.0f / 3.0f);
  for (int arrow : Gate.arrows) EXPECT_LT(arrow, 4);
}

TEST_F(Gates, StoneAt210AdvancesOnceMoreThenFailsAndTheShipHitsIt) {
  StartFlying();
  EmptyCourse();
  WaitAtGate({0, 0, 0, 0, 0});
  Gate.approach = 210.0f;
  Step();
  EXPECT_EQ(Gate.state, GATE_WAITING);
  EXPECT_FLOAT_EQ(Gate.approach, 210.0f + 1.0f / 3.0f);
  Step();
  EXPECT_EQ(Gate.state, GATE_FAILED);
  int frames = StepUntil([] { return Round.phase == PHASE_CRASHED; }, 100);
  EXPECT_LT(frames, 100);
}

TEST_F(Gates, GateClearedPast210StillLeadsToTheNextGate) {
  StartFlying();
  EmptyCourse();
  WaitAtGate({1, 5, 5, 5, 5});
  Gate.approach = 209.9f;  // this frame takes it past 210
  Hold(VK_RIGHT);
  Step();
  Release(VK_RIGHT);
  EXPECT_EQ(Gate.state, GATE_CLEARED);
  StepUntil([] { return Gate.state != GATE_CLEARED; }, 400);
  EXPECT_EQ(Gate.state, GATE_WAITING);
  EXPECT_EQ(Gate.index, 1);
}

TEST_F(Gates, SeventhGateEndsTheStageAndTheNextEventWaitsFor4500) {
  StartFlying();
  EmptyCourse();
  WaitAtGate({5, 5, 5, 5, 5});
  Gate.index = 6;
  rocks[6] = rocks[0];
  Step();
  EXPECT_EQ(Gate.index, 7);
  StepUntil([] { return Gate.kind == 0; }, 400);
  EXPECT_EQ(Round.level, 1.5f);
  EXPECT_EQ(Player.cruiseSpeed, 1.5f);

  Player.world._43 = Player.flightFrame._43 = 4499.0f;
  Step();
  EXPECT_EQ(Gate.kind, 0);
  Player.world._43 = Player.flightFrame._43 = 4500.0f;
  Step();
  EXPECT_NE(Gate.kind, 0);
}
