// Countdown, steering and forward flight, the hands-off boost, the dash and
// the pause menu, driven frame by frame through UpdateGame.
#include "gameplay/gameplay_fixture.h"

using Flight = Gameplay;

TEST_F(Flight, CountdownShowsThreeNumeralsOf57FramesThenFlies) {
  ResetRound();
  soundLog.clear();
  for (int n = 1; n <= 171; ++n) {
    Step();
    if (n == 56) {
      EXPECT_EQ(Round.countdownStep, 0);
    }
    if (n == 57) {
      EXPECT_EQ(Round.countdownStep, 1);
    }
    if (n == 114) {
      EXPECT_EQ(Round.countdownStep, 2);
    }
    if (n == 119) {
      EXPECT_FLOAT_EQ(Round.introOffset, 0.5f);
    }
    if (n == 120) {
      EXPECT_EQ(Round.introOffset, 0.0f);
    }
    if (n == 170) {
      EXPECT_EQ(Round.phase, PHASE_COUNTDOWN);
    }
  }
  EXPECT_EQ(Round.phase, PHASE_FLYING);
  EXPECT_EQ(Round.countdownStep, 0);
  EXPECT_EQ(Restarts(SND_COUNTDOWN_3), (std::vector<int>{2, 59, 116}));
  EXPECT_EQ(CountCalls(PASS_SOUND, "Loop"), 1);

  // Free view: the numerals run in silence.
  ResetRound();
  Round.mode = MODE_FREE_VIEW;
  selectCursor = 2;
  soundLog.clear();
  Step(171);
  EXPECT_EQ(Round.phase, PHASE_FLYING);
  EXPECT_TRUE(Restarts(SND_COUNTDOWN_3).empty());
}

TEST_F(Flight, HeldArrowGainsSpeedToTheLimitAndReleasedSpeedBleedsToZero) {
  StartFlying();
  EmptyCourse();
  Hold(VK_RIGHT);
  Step(10);
  EXPECT_NEAR(Player.velX, 0.30f, 1e-5);  // +0.05 key, -0.02 friction
  Step(30);
  EXPECT_EQ(Player.velX, 1.0f - 0.02f);  // held at the limit, less friction
  Release(VK_RIGHT);
  int frames = StepUntil([] { return Player.velX <= 0.0f; }, 100);
  EXPECT_EQ(Player.velX, 0.0f);
  EXPECT_GE(frames, 48);
  EXPECT_LE(frames, 50);

  Hold(VK_UP);
  Step(40);
  EXPECT_EQ(Player.velY, 1.0f - 0.02f);
  EXPECT_EQ(Player.velX, 0.0f);
}

TEST_F(Flight, PlayfieldEdgeStopsOutwardSpeedOnly) {
  StartFlying();
  EmptyCourse();
  Player.world._41 = Player.flightFrame._41 = 57.0f;
  Player.world._42 = Player.flightFrame._42 = -57.0f;
  Player.velX = 0.5f;   // outward
  Player.velY = -0.5f;  // outward
  Step();
  EXPECT_EQ(Player.velX, 0.0f);
  EXPECT_EQ(Player.velY, 0.0f);

  Player.velX = -0.5f;  // inward
  Player.velY = 0.5f;
  Step();
  EXPECT_FLOAT_EQ(Player.velX, -0.48f);
  EXPECT_FLOAT_EQ(Player.velY, 0.48f);

  // During a gate event the edge does not hold.
  Gate.kind = 1;
  Gate.caution = true;
  Player.world._41 = Player.flightFrame._41 = 60.0f;
  Player.velX = 0.5f;
  Step();
  EXPECT_FLOAT_EQ(Player.velX, 0.48f);
}

TEST_F(Flight, PausedOrCrashedShipDriftsToAHalt) {
  for (int phase : {PHASE_PAUSED, PHASE_CRASHED}) {
    StartFlying();
    EmptyCourse();
    Round.phase = phase;
    Player.crashed = phase == PHASE_CRASHED;
    Player.velX = 0.5f;
    Player.velZ = 1.0f;
    Hold(VK_RIGHT);
    Step();
    EXPECT_FLOAT_EQ(Player.velX, 0.48f) << phase;
    EXPECT_FLOAT_EQ(Player.velZ, 0.98f) << phase;
    Step(50);
    EXPECT_EQ(Player.velX, 0.0f) << phase;
    EXPECT_EQ(Player.velZ, 0.0f) << phase;
    Release(VK_RIGHT);
  }
}

TEST_F(Flight, FreeViewNeverSteersAndCruisesJustBelowCruiseSpeed) {
  StartFlying();
  Round.mode = MODE_FREE_VIEW;
  selectCursor = 2;
  Hold(VK_UP);
  Hold(VK_LEFT);
  Step(60);
  float z = Player.world._43;
  Step();
  EXPECT_EQ(Player.velX, 0.0f);
  EXPECT_EQ(Player.velY, 0.0f);
  EXPECT_NEAR(Player.world._43 - z, 0.98f, 1e-4);
  EXPECT_EQ(Round.score, 0.0f);  // no distance score, no boost
}

TEST_F(Flight, FortyHandsOffFramesStartTheBoostAndSteeringStopsIt) {
  StartFlying();
  EmptyCourse();
  Step(39);
  EXPECT_EQ(Player.handsOffFrames, 39);
  EXPECT_NEAR(Round.score, 39.0f / 30.0f, 1e-4);  // distance only
  EXPECT_TRUE(Restarts(SND_FORWARD_DASH).empty());
  Step();
  EXPECT_EQ(Restarts(SND_FORWARD_DASH), std::vector<int>{40});
  EXPECT_EQ(CountCalls(SND_WIND_CUTTING, "Loop"), 1);
  EXPECT_EQ(Round.flashKind, 2);
  EXPECT_NEAR(Round.score, 40.0f / 30.0f + 0.1f, 1e-4);
  Step(20);
  EXPECT_NEAR(Camera.boostPullback, 5.1f, 1e-4);
  EXPECT_EQ(CountCalls(SND_WIND_CUTTING, "Loop"), 21);
  EXPECT_EQ(Restarts(SND_FORWARD_DASH).size(), 1u);

  float score = Round.score;
  soundLog.clear();
  Hold(VK_LEFT);
  Step();
  EXPECT_EQ(Player.handsOffFrames, 0);
  EXPECT_NEAR(Camera.boostPullback, 4.8f, 1e-4);
  EXPECT_EQ(CountCalls(SND_WIND_CUTTING, "Stop"), 1);
  EXPECT_NEAR(Round.score - score, 1.0f / 30.0f, 1e-4);
}

TEST_F(Flight, DashNeedsMoreThanTenPointsCostsEighteenAndFinishesWhilePaused) {
  StartFlying();
  EmptyCourse();
  Round.phase = PHASE_PAUSED;  // no distance score while paused
  Round.score = 10.0f;
  Hold('D');
  Step();
  EXPECT_FALSE(Player.dashing);

  Round.score = 30.0f;
  Step();
  Release('D');
  EXPECT_TRUE(Player.dashing);
  EXPECT_EQ(Player.steerLimit, 5.0f);
  Step(16);
  EXPECT_TRUE(Player.dashing);
  Step();
  EXPECT_FALSE(Player.dashing);
  EXPECT_EQ(Player.dashSpin, 0.0f);
  EXPECT_EQ(Round.score, 12.0f);
  EXPECT_EQ(Restarts(SND_DASH).size(), 1u);

  Round.score = 10.1f;
  Hold('D');
  Step();
  Release('D');
  Step(17);
  EXPECT_FALSE(Player.dashing);
  EXPECT_EQ(Round.score, 0.0f);
}

TEST_F(Flight, EscPausesTheMenuMovesOnChangeAndEnterContinuesOrQuits) {
  StartFlying();
  EmptyCourse();
  Round.score = 20.0f;
  Hold(VK_ESCAPE);
  Step();
  Release(VK_ESCAPE);
  EXPECT_EQ(Round.phase, PHASE_PAUSED);
  EXPECT_EQ(Screen.tint.g, 150.0f);
  EXPECT_EQ(Restarts(SND_ESC).size(), 1u);
  float score = Round.score;
  Step(10);
  EXPECT_EQ(Round.score, score);  // the distance score is frozen

  Hold(VK_RIGHT);
  Step(5);
  EXPECT_EQ(menuCursor, 1);
  EXPECT_EQ(Restarts(SND_TRAMP).size(), 1u);
  Release(VK_RIGHT);
  Hold(VK_LEFT);
  Step(5);
  Release(VK_LEFT);
  EXPECT_EQ(menuCursor, 0);
  EXPECT_EQ(Restarts(SND_TRAMP).size(), 2u);

  Hold(VK_RETURN);
  Step();
  Release(VK_RETURN);
  EXPECT_EQ(Round.phase, PHASE_FLYING);
  EXPECT_EQ(scene, SCENE_GAME);

  Round.phase = PHASE_PAUSED;
  menuCursor = 1;
  Step();  // Enter up clears the latch
  Hold(VK_RETURN);
  Step();
  EXPECT_EQ(scene, SCENE_MODE_SELECT);
  EXPECT_EQ(Screen.tint.r, 0.0f);
  EXPECT_EQ(CountCalls(PASS_SOUND, "Stop"), 1);
}
