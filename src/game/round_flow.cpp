#include "game/round_flow.h"

#include <cstdlib>

#include <windows.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "frontend/best_scores.h"
#include "frontend/mode_select.h"
#include "frontend/title.h"
#include "game/update_game.h"
#include "game/world_state.h"
#include "media/sound_play.h"

namespace {

constexpr int VK_D = 0x44;

void StopAllSounds() {
  for (IDirectSoundBuffer8* sound : sounds) StopSound(sound);
}

void SetTint(float r, float g, float b) { Screen.tint = TintColor{r, g, b}; }

void MovePauseCursor() {
  if (Round.phase != PHASE_PAUSED) return;
  if (KeyDown(VK_RIGHT)) {
    if (menuCursor == 0) {
      menuCursor = 1;
      PlaySoundOnce(sounds[SND_TRAMP]);
    }
  } else if (KeyDown(VK_LEFT) && menuCursor == 1) {
    menuCursor = 0;
    PlaySoundOnce(sounds[SND_TRAMP]);
  }
}

void Pause() {
  Round.phase = PHASE_PAUSED;
  SetTint(150.0f, 150.0f, 150.0f);
  Screen.alpha = 255;
  PlaySoundOnce(sounds[SND_ESC]);
  RewindSound(sounds[SND_LOOP_56]);
}

// Leaving always returns to mode select; this frame is still drawn, black.
void LeaveGame() { scene -= 1; }

void HandleEnter() {
  if (!KeyDown(VK_RETURN)) {
    enterKeyLatch = false;
    return;
  }
  if (Round.phase == PHASE_CRASHED && !enterKeyLatch) {
    enterKeyLatch = true;
    LeaveGame();
    RewindSound(sounds[SND_LOOP_56]);
    StopAllSounds();
    SetTint(0.0f, 0.0f, 0.0f);
  } else if (Round.phase == PHASE_PAUSED && !enterKeyLatch) {
    enterKeyLatch = true;
    if (menuCursor == 0) {
      Round.phase = PHASE_FLYING;
      SetTint(255.0f, 255.0f, 255.0f);
    } else if (menuCursor == 1) {
      LeaveGame();
      StopAllSounds();
      StopSound(passSound);
      SetTint(0.0f, 0.0f, 0.0f);
      RewindSound(sounds[SND_LOOP_56]);
    }
  } else if (Round.mode == MODE_FREE_VIEW) {
    enterKeyLatch = true;
    SetTint(0.0f, 0.0f, 0.0f);
    StopAllSounds();
    StopSound(passSound);
    selectCursor = 0;
    LeaveGame();
    RewindSound(sounds[SND_LOOP_56]);
  }
}

}  // namespace

void ReadRoundKeys() {
  MovePauseCursor();
  if (KeyDown(VK_ESCAPE) && Round.phase == PHASE_FLYING) Pause();
  if (KeyDown(VK_D) && !Player.dashing && Round.score > 10.0f) Player.dashing = true;
  HandleEnter();
}

bool InsertBestScore(float score) {
  int k = 0;
  while (k < 3 && !((float)bestScores[k] <= score)) ++k;
  if (k == 3) return false;
  for (int i = 2; i > k; --i) bestScores[i] = bestScores[i - 1];
  bestScores[k] = (int)score;
  return true;
}

void CrashShip() {
  Player.crashed = true;
  Round.phase = PHASE_CRASHED;
  Player.cruiseSpeed = 0.0f;
  SetTint(150.0f, 150.0f, 150.0f);
  StopSound(passSound);
  StopAllSounds();
  // Written at once so a new best score survives the program being killed
  // before it exits normally; the exit writes it again.
  if (InsertBestScore(Round.score)) SaveBestScores();
}

void PlaceCrashCamera() {
  if (Player.crashed) Camera.eye.z = Camera.eye.z * 2.0f;
}

void CountExplosion() {
  if (!Player.crashed || Round.explosionFrame >= 15) return;
  if (Round.explosionFrame == 0) PlaySoundOnce(sounds[SND_OWN_EXPLOSION]);
  Round.explosionFrame += 1;
}

void RunCountdown() {
  if (Round.phase != PHASE_COUNTDOWN) return;
  if (Round.countdownTimer >= 8.85f && Round.countdownTimer < 9.0f && Round.mode != MODE_FREE_VIEW)
    PlaySoundOnce(sounds[SND_COUNTDOWN_3]);
  Round.countdownTimer -= 0.15f;
  if (Round.introOffset > 0.0f) Round.introOffset -= 0.5f;
  if (Round.countdownTimer <= 0.5f) {
    Round.countdownStep += 1;
    Round.countdownTimer = 9.0f;
    if (Round.countdownStep >= 3) {
      Round.phase = PHASE_FLYING;
      Round.countdownStep = 0;
      PlaySoundLooping(passSound);
    }
  }
}

void ScoreDistance() {
  if (Round.phase == PHASE_FLYING && !Player.crashed && Round.mode == MODE_NORMAL)
    Round.score += Player.cruiseSpeed / 30;
}

void RunHandsOffBoost() {
  if (Player.velX == 0.0f && Player.velY == 0.0f && Round.phase == PHASE_FLYING && Gate.kind == GATE_NONE) {
    Player.boostPhase += 0.05f;
    if (Player.handsOffFrames < 100) Player.handsOffFrames += 1;
    if (Player.boostPhase >= 10.0f) Player.boostPhase = 0.0f;
  } else {
    Player.handsOffFrames = 0;
  }

  if (Player.handsOffFrames >= 40 && Round.mode != MODE_FREE_VIEW) {
    Round.score += 0.1f;
    Round.flashKind = FLASH_BLUE;
    if (Player.handsOffFrames == 40) PlaySoundOnce(sounds[SND_FORWARD_DASH]);
    PlaySoundLooping(sounds[SND_WIND_CUTTING]);
    if (Camera.boostPullback <= 5.0f) Camera.boostPullback += 0.3f;
  } else {
    if (Camera.boostPullback > 0.0f) Camera.boostPullback -= 0.3f;
    StopSound(sounds[SND_WIND_CUTTING]);
  }
}

void MakeDashSmoke() {
  if (!Player.dashing) return;
  float x = Player.pos.x + (float)(rand() % 60 - 30) / 15.0f;
  float y = Player.pos.y + (float)(rand() % 60 - 30) / 15.0f;
  MakeSmokeParticle(x, y, Player.pos.z);
}

void RunDash() {
  if (!Player.dashing) return;
  if (Player.dashSpin == 0.0f) PlaySoundOnce(sounds[SND_DASH]);
  Player.steerLimit = 5.0f;
  Player.dashSpin += 20.0f;
  Round.score -= 1.0f;
  Round.flashKind = FLASH_RED;
  if (Round.score <= 0.0f) Round.score = 0.0f;
  if (Player.dashSpin >= 360.0f) {
    Player.dashSpin = 0.0f;
    Player.dashing = false;
  }
}
