// The item roulette and the six effects.
#include "gameplay/gameplay_fixture.h"

using Items = Gameplay;

namespace {

void StartEffect(int effect) {
  Item.spinning = true;
  Item.effect = effect;
  Item.timer = 200.0f;  // as the roulette leaves it
}

int VanishingSlots() {
  int n = 0;
  for (const Rock& rock : rocks) n += rock.vanishing;
  return n;
}

}  // namespace

TEST_F(Items, RouletteTakesAtLeast34FramesAndMayStopWhilePaused) {
  StartFlying();
  EmptyCourse();
  Item.spinning = true;
  int frames = StepUntil([] { return Item.effect != EFFECT_NONE; }, 2000);
  EXPECT_GE(frames, 34);
  EXPECT_GE(Item.effect, 1);
  EXPECT_LE(Item.effect, 6);
  EXPECT_EQ(Item.reelOffset, (Item.effect - 1) * 128);
  EXPECT_FLOAT_EQ(Item.timer, 199.8f);  // already running in the stop frame

  // Paused: the roulette stops but the effect neither runs down nor acts.
  StartFlying();
  EmptyCourse();
  Item.spinning = true;
  Item.spinCount = 99;
  Round.phase = PHASE_PAUSED;
  StepUntil([] { return Item.effect != EFFECT_NONE; }, 100);
  EXPECT_EQ(Item.timer, 200.0f);
  Item.effect = EFFECT_SCORE_UP;
  Step(10);
  EXPECT_EQ(Item.timer, 200.0f);
  EXPECT_EQ(Round.score, 0.0f);
  EXPECT_TRUE(Restarts(SND_SCORE_UP).empty());

  Round.phase = PHASE_FLYING;  // resumed
  Step(5);
  EXPECT_NEAR(Round.score, 5 * (0.1f + 1.0f / 30.0f), 1e-4);
  EXPECT_EQ(Round.flashKind, 2);
  EXPECT_EQ(Restarts(SND_SCORE_UP).size(), 1u);
}

TEST_F(Items, GhostFlashAndSpeedEffectsDoWhatTheirRowsSay) {
  StartFlying();
  EmptyCourse();
  StartEffect(EFFECT_GHOST);
  Step(3);
  EXPECT_EQ(Screen.alpha, 200);
  EXPECT_EQ(Restarts(SND_GHOST).size(), 1u);

  StartFlying();
  StartEffect(EFFECT_FLASH);
  Item.flashTimer = 20.0f;
  Step(99);
  EXPECT_LT(Item.flashTimer, 20.0f);
  Step();
  EXPECT_EQ(Item.flashTimer, 20.0f);  // a new place every 100 frames
  EXPECT_GE(Item.flashX, 100.0f);
  EXPECT_LE(Item.flashX, 700.0f);
  Step();
  EXPECT_EQ(Restarts(SND_LIGHT), (std::vector<int>{frame - 100, frame}));

  StartFlying();
  StartEffect(EFFECT_SPEED_UP);
  Item.speedSignY = -8.0f;
  Step(44);
  EXPECT_EQ(Player.steerLimit, 2.0f);
  EXPECT_EQ(Restarts(SND_SPEED_CHANGE).size(), 1u);
  EXPECT_EQ(Item.speedSignY, -8.0f);  // climbed past 5 and came round
  Step();
  EXPECT_EQ(Restarts(SND_SPEED_CHANGE).size(), 2u);

  StartFlying();
  EmptyCourse();
  StartEffect(EFFECT_SPEED_DOWN);
  Step();
  EXPECT_EQ(Player.steerLimit, 0.5f);
  EXPECT_LT(Item.speedSignY, -2.0f);  // moving down
  Player.velX = 1.5f;
  Step();
  EXPECT_FLOAT_EQ(Player.velX, 1.48f);  // bleeds off by friction
  Hold(VK_RIGHT);
  Step();
  EXPECT_FLOAT_EQ(Player.velX, 0.48f);  // cut to the limit by its key
}

TEST_F(Items, RockVanishTakesOneSlotAFrameAndRestartsItsSound) {
  StartFlying();
  EmptyCourse();
  StartEffect(EFFECT_ROCK_VANISH);
  Step();
  EXPECT_EQ(VanishingSlots(), 0);
  EXPECT_TRUE(Item.vanishArmed);
  Step();
  EXPECT_EQ(VanishingSlots(), 1);
  EXPECT_EQ(Restarts(SND_ROCK_VANISH), std::vector<int>{2});
  Step(118);
  EXPECT_GE(VanishingSlots(), 2);
  EXPECT_EQ(Restarts(SND_ROCK_VANISH).size(), 3u);  // a cycle of about 50 frames
}

TEST_F(Items, EffectLastsItsThousandFramesThenTheLimitReturns) {
  StartFlying();
  EmptyCourse();
  Round.mode = MODE_FREE_VIEW;  // nothing to crash into on the long flight
  StartEffect(EFFECT_SPEED_UP);
  Step(999);
  EXPECT_EQ(Item.effect, EFFECT_SPEED_UP);
  EXPECT_EQ(Player.steerLimit, 2.0f);
  Step(2);
  EXPECT_EQ(Item.effect, EFFECT_NONE);
  EXPECT_FALSE(Item.spinning);
  EXPECT_EQ(Player.steerLimit, 1.0f);
}
