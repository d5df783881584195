// Countdown, steering and forward flight, the hands-off boost, the dash and
// the pause menu, driven frame by frame through UpdateGame.
#include "gameplay/gameplay_fixture.h"

using Flight = Gameplay;

// The numeral frames and sounds are checked through the whole program too.
TEST_F(Flight, CountdownPullsTheViewInOver120FramesAndIsSilentInFreeView) {
  ResetRound();
  Round.mode = MODE_FREE_VIEW;
  Step(119);
  EXPECT_FLOAT_EQ(Round.introOffset, 0.5f);
  Step(52);
  EXPECT_EQ(Round.introOffset, 0.0f);
  EXPECT_EQ(Round.phase, PHASE_FLYING);
  EXPECT_TRUE(Restarts(SND_COUNTDOWN_3).empty());
}

TEST_F(Flight, HeldArrowGainsToTheLimitReleasedSpeedBleedsToZeroAndTheEdgeHolds) {
  StartFlying();
  EmptyCourse();
  Hold(VK_RIGHT);
  Step(10);
  EXPECT_NEAR(Player.velX, 0.30f, 1e-5);  // +0.05 key, -0.02 friction
  Step(30);
  EXPECT_EQ(Player.velX, 1.0f - 0.02f);
  Release(VK_RIGHT);
  EXPECT_NEAR(StepUntil([] { return Player.velX <= 0.0f; }, 100), 49, 1);
  EXPECT_EQ(Player.velX, 0.0f);

  Player.world._41 = Player.flightFrame._41 = 57.0f;
  Player.velX = 0.5f;  // outward: dropped
  Step();
  EXPECT_EQ(Player.velX, 0.0f);
  Player.velX = -0.5f;  // inward: kept
  Step();
  EXPECT_FLOAT_EQ(Player.velX, -0.48f);
}

TEST_F(Flight, PausedOrCrashedShipDriftsToAHaltAndFreeViewCruisesUnsteered) {
  for (int phase : {PHASE_PAUSED, PHASE_CRASHED}) {
    StartFlying();
    EmptyCourse();
    Round.phase = phase;
    Player.crashed = phase == PHASE_CRASHED;
    Player.velX = 0.5f;
    Player.velZ = 1.0f;
    Hold(VK_RIGHT);
    Step();
    EXPECT_FLOAT_EQ(Player.velX, 0.48f);
    EXPECT_FLOAT_EQ(Player.velZ, 0.98f);
    Step(50);
    EXPECT_EQ(Player.velZ, 0.0f);
  }
  StartFlying();
  Round.mode = MODE_FREE_VIEW;
  Step(60);
  float z = Player.world._43;
  Step();
  EXPECT_EQ(Player.velX, 0.0f);
  EXPECT_NEAR(Player.world._43 - z, 0.98f, 1e-4);
  EXPECT_EQ(Round.score, 0.0f);  // no distance score, no boost
}

TEST_F(Flight, FortyHandsOffFramesStartTheBoostAndSteeringStopsIt) {
  StartFlying();
  EmptyCourse();
  Step(40);
  EXPECT_NEAR(Round.score, 40.0f / 30.0f + 0.1f, 1e-4);
  Step(20);
  EXPECT_NEAR(Camera.boostPullback, 5.1f, 1e-4);
  EXPECT_EQ(CountCalls(SND_WIND_CUTTING, "Loop"), 21);

  float score = Round.score;
  Hold(VK_LEFT);
  Step();
  EXPECT_NEAR(Camera.boostPullback, 4.8f, 1e-4);
  EXPECT_NEAR(Round.score - score, 1.0f / 30.0f, 1e-4);
}

TEST_F(Flight, DashNeedsMoreThanTenPointsCostsEighteenAndFinishesWhilePaused) {
  StartFlying();
  Round.phase = PHASE_PAUSED;  // no distance score while paused
  Round.score = 10.0f;
  Hold('D');
  Step();
  EXPECT_FALSE(Player.dashing);
  Round.score = 30.0f;
  Step();
  Release('D');
  EXPECT_EQ(Player.steerLimit, 5.0f);
  Step(16);
  EXPECT_TRUE(Player.dashing);
  Step();
  EXPECT_FALSE(Player.dashing);
  EXPECT_EQ(Round.score, 12.0f);

  Round.score = 10.1f;
  Hold('D');
  Step(18);
  EXPECT_EQ(Round.score, 0.0f);
}

TEST_F(Flight, EscPausesTheMenuMovesOnChangeAndEnterContinuesOrQuits) {
  StartFlying();
  EmptyCourse();
  Press(VK_ESCAPE);
  EXPECT_EQ(Screen.tint.g, 150.0f);
  Hold(VK_RIGHT);
  Step(5);
  EXPECT_EQ(menuCursor, 1);
  Release(VK_RIGHT);
  Hold(VK_LEFT);
  Step(5);
  Release(VK_LEFT);
  EXPECT_EQ(menuCursor, 0);
  EXPECT_EQ(Restarts(SND_TRAMP).size(), 2u);

  Press(VK_RETURN);
  EXPECT_EQ(Round.phase, PHASE_FLYING);
  Round.phase = PHASE_PAUSED;
  menuCursor = 1;
  Press(VK_RETURN);
  EXPECT_EQ(scene, SCENE_MODE_SELECT);
  EXPECT_EQ(CountCalls(PASS_SOUND, "Stop"), 1);
}
