#include "frontend/fade.h"

#include <cstdlib>

#include <windows.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "frontend/mode_select.h"
#include "game/round_reset.h"
#include "game/world_state.h"
#include "media/sound_play.h"
#include "media/sprite_draw.h"

bool fadeActive = false;
int fadeAlpha = 0;

namespace {

constexpr int FADE_STEP = 5;
constexpr LONG GAME_MUSIC_VOLUME = -500;

void RewindAndStopAll() {
  for (IDirectSoundBuffer8* sound : sounds) {
    RewindSound(sound);
    StopSound(sound);
  }
}

void StartGameMusic() {
  int track = SND_BE03 + rand() % 6;
  if (sounds[track] == NULL) return;
  PlaySoundLooping(sounds[track]);
  sounds[track]->SetVolume(GAME_MUSIC_VOLUME);
}

}  // namespace

bool FreshEnterOn(int screen) {
  if (!GetAsyncKeyState(VK_RETURN)) {
    enterKeyLatch = false;
    return false;
  }
  if (scene != screen) {
    enterKeyLatch = true;
    return false;
  }
  return !enterKeyLatch && !fadeActive;
}

void StartFade() {
  enterKeyLatch = true;
  fadeActive = true;
  PlaySoundOnce(sounds[SND_SE_SOD06]);
}

void FadeOutStep() {
  // The 800 x 600 rectangle centred on the top-left corner and doubled
  // covers the whole screen.
  DrawSprite(BLEND_ALPHA, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 0.0f, 0, 0, 800, 600, texDam2,
             fadeAlpha, 0, 0, 0);
  fadeAlpha += FADE_STEP;
  if (fadeAlpha != 255) return;

  RewindAndStopAll();
  scene += 1;
  fadeAlpha = 0;
  fadeActive = false;
  if (scene != SCENE_GAME) return;

  ResetRound();
  StartGameMusic();
  if (selectCursor == 0) {
    Round.mode = MODE_NORMAL;
  } else if (selectCursor == 2) {
    Round.mode = MODE_FREE_VIEW;
  } else if (selectCursor == 3) {
    scene = SCENE_TITLE;
    RewindAndStopAll();
  }
}
