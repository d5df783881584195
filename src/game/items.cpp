#include "game/items.h"

#include <cstdlib>

#include "app/asset_catalogue.h"
#include "game/world_state.h"
#include "media/sound_play.h"

namespace {

void RunVanishSoundCycle() {
  if (!Item.vanishEffect) return;
  Item.vanishTimer += 0.2f;
  if (Item.vanishTimer == 0.2f) PlaySoundOnce(sounds[SND_ROCK_VANISH]);
  if (Item.vanishTimer >= 10.0f) {
    Item.vanishTimer = 0.0f;
    Item.vanishEffect = false;
  }
}

void TurnItems() {
  Item.meshAngle += 2.0f;
  if (Item.meshAngle >= 360.0f) Item.meshAngle = 0.0f;
}

void MoveSpeedSign() {
  if (Item.effect == EFFECT_SPEED_UP) {
    if (Item.speedSignY <= -8.0f) PlaySoundOnce(sounds[SND_SPEED_CHANGE]);
    Item.speedSignY += 0.3f;
    if (Item.speedSignY >= 5.0f) Item.speedSignY = -8.0f;
  } else if (Item.effect == EFFECT_SPEED_DOWN) {
    if (Item.speedSignY >= 5.0f) PlaySoundOnce(sounds[SND_SPEED_CHANGE]);
    Item.speedSignY -= 0.3f;
    if (Item.speedSignY <= -8.0f) Item.speedSignY = 5.0f;
  }
}

void SpinRoulette() {
  if (!Item.spinning || Item.effect != EFFECT_NONE) return;
  Item.reelOffset += 50;
  Item.spinCount += rand() % 5 - 1;
  if (Item.reelOffset >= 512) Item.reelOffset = 0;
  if (Item.spinCount >= 100) {
    Item.effect = rand() % 6 + 1;
    Item.reelOffset = (Item.effect - 1) * 128;
    Item.timer = 200.0f;
  }
}

// Pausing freezes the effect's time.
void RunEffectTime() {
  if (Item.effect == EFFECT_NONE || Round.phase == PHASE_PAUSED) return;
  Item.timer -= 0.2f;
  if (Item.timer <= 0.0f) {
    Item.effect = EFFECT_NONE;
    Item.spinning = false;
  }
}

void RunFlash() {
  if (Item.flashTimer == 20.0f) PlaySoundOnce(sounds[SND_LIGHT]);
  if (Item.flashTimer > 0.0f) Item.flashTimer -= 0.2f;
  if (Item.flashTimer <= 0.0f) {
    Item.flashTimer = 20.0f;
    Item.flashX = rand() % 601 + 100;
    Item.flashY = rand() % 401 + 100;
  }
}

void ApplyEffect() {
  if (Round.phase == PHASE_CRASHED || Round.phase == PHASE_PAUSED || Player.crashed) return;
  switch (Item.effect) {
    case EFFECT_NONE:
      Player.steerLimit = 1.0f;
      Screen.alpha = 255;
      break;
    case EFFECT_GHOST:
      Screen.alpha = 200;
      if (Item.timer >= 199.7f) PlaySoundOnce(sounds[SND_GHOST]);
      break;
    case EFFECT_FLASH:
      RunFlash();
      break;
    case EFFECT_SPEED_UP:
      Player.steerLimit = 2.0f;
      break;
    case EFFECT_SPEED_DOWN:
      Player.steerLimit = 0.5f;
      break;
    case EFFECT_SCORE_UP:
      if (Item.timer >= 199.7f) PlaySoundOnce(sounds[SND_SCORE_UP]);
      Round.flashKind = FLASH_BLUE;
      Round.score += 0.1f;
      break;
    case EFFECT_ROCK_VANISH:
      if (!Item.vanishArmed) Item.vanishEffect = true;
      Item.vanishArmed = true;
      break;
    default:
      break;
  }
}

}  // namespace

void PickVanishingRock() {
  if (!Item.vanishArmed) return;
  rocks[rand() % ROCK_COUNT].vanishing = true;
  Item.vanishArmed = false;
}

void RunItems() {
  RunVanishSoundCycle();
  TurnItems();
  MoveSpeedSign();
  SpinRoulette();
  RunEffectTime();
  ApplyEffect();
}
