// The item roulette and the six effects.
#include "gameplay/gameplay_fixture.h"

using Items = Gameplay;

namespace {

void StartEffect(int effect) {
  Item.spinning = true;
  Item.effect = effect;
  Item.timer = 200.0f;  // as the roulette leaves it
}

}  // namespace

TEST_F(Items, RouletteTakesAtLeast34FramesAndItsEffectWaitsOutAPause) {
  StartFlying();
  EmptyCourse();
  Item.spinning = true;
  EXPECT_GE(StepUntil([] { return Item.effect != EFFECT_NONE; }, 2000), 34);
  EXPECT_EQ(Item.reelOffset, (Item.effect - 1) * 128);
  EXPECT_FLOAT_EQ(Item.timer, 199.8f);  // already running in the stop frame

  StartFlying();
  EmptyCourse();
  Item.spinning = true;
  Item.spinCount = 99;
  Round.phase = PHASE_PAUSED;
  StepUntil([] { return Item.effect != EFFECT_NONE; }, 100);
  Item.effect = EFFECT_SCORE_UP;
  Step(10);
  EXPECT_EQ(Item.timer, 200.0f);
  EXPECT_EQ(Round.score, 0.0f);
  Round.phase = PHASE_FLYING;  // resumed
  Step(5);
  EXPECT_NEAR(Round.score, 5 * (0.1f + 1.0f / 30.0f), 1e-4);
  EXPECT_EQ(Round.flashKind, 2);
  EXPECT_EQ(Restarts(SND_SCORE_UP).size(), 1u);
}

TEST_F(Items, GhostFadesTheWorldFlashMovesEvery100FramesAndSpeedsSetTheSteerLimit) {
  StartFlying();
  StartEffect(EFFECT_GHOST);
  Step(3);
  EXPECT_EQ(Screen.alpha, 200);
  EXPECT_EQ(Restarts(SND_GHOST).size(), 1u);

  StartFlying();
  StartEffect(EFFECT_FLASH);
  Step(99);
  EXPECT_LT(Item.flashTimer, 20.0f);
  Step(2);  // a new place every 100 frames
  EXPECT_EQ(Restarts(SND_LIGHT), (std::vector<int>{frame - 100, frame}));

  StartFlying();
  StartEffect(EFFECT_SPEED_UP);
  Item.speedSignY = -8.0f;
  Step(45);  // up past 5, back to -8, and on
  EXPECT_EQ(Player.steerLimit, 2.0f);
  EXPECT_EQ(Restarts(SND_SPEED_CHANGE), (std::vector<int>{frame - 44, frame}));

  StartFlying();
  EmptyCourse();
  StartEffect(EFFECT_SPEED_DOWN);
  Step();
  EXPECT_EQ(Player.steerLimit, 0.5f);
  EXPECT_LT(Item.speedSignY, -2.0f);
  Player.velX = 1.5f;
  Step();
  EXPECT_FLOAT_EQ(Player.velX, 1.48f);  // bleeds off by friction
  Hold(VK_RIGHT);
  Step();
  EXPECT_FLOAT_EQ(Player.velX, 0.48f);  // cut to the limit by its key
}

TEST_F(Items, RockVanishTakesOneSlotAFrameAndEffectsLast1000Frames) {
  StartFlying();
  EmptyCourse();
  StartEffect(EFFECT_ROCK_VANISH);
  Step(2);
  int vanishing = 0;
  for (const Rock& rock : rocks) vanishing += rock.vanishing;
  EXPECT_EQ(vanishing, 1);
  Step(118);
  EXPECT_EQ(Restarts(SND_ROCK_VANISH).size(), 3u);  // a cycle of about 50 frames
  EXPECT_EQ(Restarts(SND_ROCK_VANISH)[0], 2);

  StartFlying();
  Round.mode = MODE_FREE_VIEW;  // nothing to crash into on the long flight
  StartEffect(EFFECT_SPEED_UP);
  Step(999);
  EXPECT_EQ(Player.steerLimit, 2.0f);
  Step(2);
  EXPECT_EQ(Item.effect, EFFECT_NONE);
  EXPECT_EQ(Player.steerLimit, 1.0f);
}
