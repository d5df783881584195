#include "frontend/title.h"

#include <windows.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "frontend/fade.h"
#include "media/sound_play.h"
#include "media/sprite_draw.h"

int menuCursor = 0;
float titlePulseScale = 1.0f;
int titlePulseAlpha = 255;

namespace {

void RestartPulse() {
  titlePulseScale = 1.0f;
  titlePulseAlpha = 255;
}

}  // namespace

void TitleInput() {
  if (GetAsyncKeyState(VK_DOWN)) {
    if (!arrowKeyLatch && !fadeActive && menuCursor == 0) {
      menuCursor = 1;
      arrowKeyLatch = true;
      RestartPulse();
      PlaySoundOnce(sounds[SND_TRAMP]);
    }
  } else if (GetAsyncKeyState(VK_UP)) {
    if (!arrowKeyLatch && !fadeActive && menuCursor == 1) {
      menuCursor = 0;
      arrowKeyLatch = true;
      RestartPulse();
      PlaySoundOnce(sounds[SND_TRAMP]);
    }
  } else {
    arrowKeyLatch = false;
  }
  // Polled only to clear their pressed-since-last-poll state, so a tap here
  // does not count as a fresh press on the mode-select screen.
  GetAsyncKeyState(VK_RIGHT);
  GetAsyncKeyState(VK_LEFT);
}

void TitleDraw() {
  PlaySoundLooping(sounds[SND_LOOP_60]);

  DrawSprite(BLEND_ALPHA, 400.0f, 300.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 0, 800, 600, texOph, 255,
             255, 255, 255);

  // A larger bluish copy of the lettering under a white one.
  for (int i = 0; i < 2; ++i) {
    float scale = 1.8f - 0.1f * (float)i;
    int v = i == 0 ? 55 : 255;
    DrawSprite(BLEND_ADDITIVE, 400.0f, 125.0f, 0.0f, 0.0f, scale, scale, 1.0f, 0, 270, 512, 345,
               texOpmoji, 255, v, v, 255);
  }

  float entryY = 382.0f + 100.0f * (float)menuCursor;
  DrawSprite(BLEND_ADDITIVE, 436.0f, entryY, 0.0f, 0.0f, titlePulseScale, titlePulseScale,
             titlePulseScale, 0, 64 * menuCursor, 512, 64 * menuCursor + 64, texOpmoji,
             titlePulseAlpha, 0, 255, 255);

  titlePulseScale += 0.01f;
  titlePulseAlpha -= 3;
  if (titlePulseAlpha <= 0) RestartPulse();

  for (int n = 0; n < 2; ++n) {
    int alpha = n == menuCursor ? 255 : 155;
    DrawSprite(BLEND_ADDITIVE, 436.0f, 382.0f + 100.0f * (float)n, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0,
               64 * n, 512, 64 * n + 64, texOpmoji, alpha, 255, 255, 255);
  }

  for (int j = 0; j < 2; ++j) {
    int v = j == 0 ? 0 : 255;
    float starScale = 1.0f - titlePulseScale;
    DrawSprite(BLEND_ADDITIVE, 150.0f, 380.0f + 100.0f * (float)menuCursor, 0.0f,
               800.0f * titlePulseScale, starScale, starScale, 1.0f, 0, 0, 64, 64, texStar, 255, v,
               v, 255);
  }

  // The three glow strips under the lettering are left out: their alpha is
  // never raised above 0, so they could never be seen.

  if (fadeActive) FadeOutStep();
}

void TitleEnterRule() {
  if (!FreshEnterOn(SCENE_TITLE)) return;
  if (menuCursor == 0) {
    StartFade();
  } else if (menuCursor == 1) {
    PostQuitMessage(0);
  }
}
