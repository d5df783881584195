// The head-up display, drawn into the scene texture on top of the world so it
// shares the world's tint: item timer and roulette, item effects, score panel,
// countdown, caution, the arrow-gate panel, and in free view the best scores.
#include "render/hud.h"

#include <d3d9.h>

#include "app/asset_catalogue.h"
#include "frontend/best_scores.h"
#include "game/world_state.h"
#include "media/sprite_draw.h"

namespace {

const int WHITE[4] = {255, 255, 255, 255};

// z scale 0 or 1 makes no difference to a screen sprite; rows pass what the
// original layout passes.
void Row(BlendMode mode, float x, float y, float scaleX, float scaleY, float scaleZ, int left,
         int top, int right, int bottom, IDirect3DTexture9* texture, const int argb[4]) {
  DrawSprite(mode, x, y, 0.0f, 0.0f, scaleX, scaleY, scaleZ, left, top, right, bottom, texture,
             argb[0], argb[1], argb[2], argb[3]);
}

void DrawItemRows() {
  if (Item.effect != EFFECT_NONE) {
    // The timer bar keeps its left edge at x = 344 as it shrinks.
    const int width = (int)Item.timer;
    Row(BLEND_ADDITIVE, 344.0f + Item.timer / 2.0f, 533.0f, 1, 1, 0, 0, 0, width, 50, texEne2,
        WHITE);
  }
  if (Item.spinning) {
    const int o = Item.reelOffset;
    Row(BLEND_ALPHA, 700.0f, 460.0f, 1.5f, 1.5f, 0, o, 0, o + 128, 128, texS, WHITE);
  }
  if (Item.effect != EFFECT_NONE)
    Row(BLEND_ALPHA, 455.0f, 540.0f, 1, 1, 0, 0, 0, 220, 80, texEne4, WHITE);
  if (Item.spinning) Row(BLEND_ALPHA, 700.0f, 460.0f, 1, 3.3f, 0, 0, 0, 220, 80, texFrame, WHITE);
  if (Item.effect == EFFECT_FLASH)
    Row(BLEND_ADDITIVE, Item.flashX, Item.flashY, Item.flashTimer, Item.flashTimer, 0, 0, 0, 64, 64,
        texEffect1, WHITE);
  if (Item.vanishEffect) {
    const int blue[4] = {255, 55, 55, 255};
    Row(BLEND_ADDITIVE, 400.0f, 300.0f, Item.vanishTimer, Item.vanishTimer, 0, 0, 0, 256, 256,
        texSmoke2, blue);
  }
}

// The wash behind the score shows the trend: red after a graze or dash,
// blue while boosting.
void DrawScoreRows() {
  if (Round.mode == MODE_FREE_VIEW) return;
  if (Round.phase == PHASE_FLYING) {
    int wash[4] = {55, 255, 255, 255};
    if (Round.flashKind == FLASH_RED) wash[2] = wash[3] = 0;
    if (Round.flashKind == FLASH_BLUE) wash[1] = wash[2] = 0;
    Row(BLEND_ADDITIVE, 170.5f, 540.5f, 280, 70, 0, 0, 0, 1, 1, texDam2, wash);
  }
  if (Round.phase == PHASE_COUNTDOWN) {
    const int k = Round.countdownStep;
    const float s = Round.countdownTimer;
    Row(BLEND_ADDITIVE_NO_DEPTH, 400.0f, 300.0f, s, s, 0, 128 * k, 0, 128 * k + 128, 128, tex321,
        WHITE);
  }
  if (Round.phase == PHASE_FLYING) {
    // The update split the score at the end of this frame's step.
    DrawNumber(250.0f, 540.0f, 1.0f, 255, 255, 255);
    Row(BLEND_ALPHA, 270.0f, 550.0f, 1, 1, 0, 320, 0, 384, 64, tex123, WHITE);
  }
}

void DrawCaution() {
  if (!Gate.caution) return;
  const int red[4] = {255, 255, 55, 55};
  Row(BLEND_ADDITIVE, 410.0f, 200.0f, 1.5f, 2.0f, 1, 0, 350, 512, 430, texOpmoji, WHITE);
  Row(BLEND_ADDITIVE, 412.0f, 202.0f, 1.5f, 2.0f, 1, 0, 350, 512, 430, texOpmoji, red);
}

void ArrowCell(int arrow, int& left, int& right) {
  left = 64 * arrow;
  right = left + 64;
}

// The next arrow large on the lock ring with a blue glow, the four after it
// smaller and fainter to the right, each on a grey plate.
void DrawArrows() {
  struct Slot {
    float x, scale;
    int arrowAlpha;
    float plateX, plateScaleX, plateScaleY;
    int plateAlpha, plateGrey;
  };
  static const Slot later[4] = {{540, 1.2f, 155, 540, 1.4f, 2.2f, 255, 155},
                                {610, 1.0f, 100, 610, 1.4f, 2.0f, 155, 155},
                                {670, 0.8f, 50, 670, 1.4f, 1.8f, 100, 155},
                                {730, 0.6f, 10, 720, 1.1f, 1.5f, 50, 155}};
  int left, right;
  if (Gate.arrows[0] <= 3) {
    ArrowCell(Gate.arrows[0], left, right);
    const int glow[4] = {255, 55, 55, 255};
    Row(BLEND_ALPHA, 400.0f, 200.0f, 3.2f, 3.2f, 1, 0, 0, 64, 64, texLock, WHITE);
    Row(BLEND_ADDITIVE, 400.0f, 198.0f, 2.0f, 2.0f, 1, left, 0, right, 64, texVec, WHITE);
    Row(BLEND_ADDITIVE, 400.0f, 198.0f, 2.7f, 2.7f, 1, left, 0, right, 64, texVec, glow);
  }
  for (int k = 1; k < GATE_ARROW_COUNT; ++k) {
    if (Gate.arrows[k] > 3) continue;
    const Slot& slot = later[k - 1];
    ArrowCell(Gate.arrows[k], left, right);
    const int arrowColor[4] = {slot.arrowAlpha, 255, 255, 255};
    const int plateColor[4] = {slot.plateAlpha, slot.plateGrey, slot.plateGrey, slot.plateGrey};
    Row(BLEND_ADDITIVE, slot.x, 198.0f, slot.scale, slot.scale, 1, left, 0, right, 64, texVec,
        arrowColor);
    Row(BLEND_ADDITIVE, slot.plateX, 200.0f, slot.plateScaleX, slot.plateScaleY, 1, 256, 0, 320, 64,
        texVec, plateColor);
  }
}

void DrawGatePanel() {
  if (Gate.kind != GATE_NONE && !Gate.caution && Gate.state == GATE_WAITING) {
    if (!Gate.erasing) DrawArrows();
    // The approach bar keeps its left edge at x = 180 as the gate comes closer.
    const int width = (int)(220.0f - Gate.approach);
    Row(BLEND_ADDITIVE, 400.0f - Gate.approach, 427.0f, 2.0f, 1.8f, 1, 0, 0, width, 80, texEne2,
        WHITE);
    Row(BLEND_ALPHA, 400.0f, 400.0f, 2.0f, 1.5f, 1, 0, 0, 220, 80, texFrame, WHITE);
  }
  if (Gate.state == GATE_CLEARED && Gate.arrowAlpha >= 10 && Gate.kind != GATE_NONE) {
    const int cheer[4] = {Gate.arrowAlpha, 0, 255, 255};
    Row(BLEND_ADDITIVE, 430.0f, 400.0f, Gate.arrowScale, Gate.arrowScale * 0.5f, 1, 0, 430, 512,
        494, texOpmoji, cheer);
  }
  if (Gate.erasing && Gate.kind != GATE_NONE) {
    const int n = Gate.eraseFrame;
    const int left = (n % 5) * 192;
    const int top = (n / 5) * 192;
    const int burst[4] = {255, 55, 255, 255};
    Row(BLEND_ALPHA, 400.0f, 200.0f, 2.0f, 2.0f, 1, left, top, left + 192, top + 192, texExplosion,
        burst);
  }
}

void DrawBestScoreBoard() {
  const int shadow[4] = {100, 255, 255, 0};
  Row(BLEND_ADDITIVE, 410.0f, 50.0f, 1, 1, 0, 0, 160, 512, 240, texMoji2, shadow);
  Row(BLEND_ADDITIVE, 415.0f, 55.0f, 1, 1, 0, 0, 160, 512, 240, texMoji2, WHITE);
  static const int trophyColors[3][4] = {
      {255, 255, 255, 50}, {255, 255, 255, 255}, {255, 255, 150, 50}};
  for (int i = 0; i < 3; ++i)
    Row(BLEND_ALPHA, 200.0f, 150.0f + 150.0f * i, 1.5f, 1.5f, 1, 0, 0, 100, 100, texTrophy,
        trophyColors[i]);
  for (int i = 0; i < 3; ++i) {
    SplitDigits(bestScores[i]);
    DrawNumber(600.0f, 150.0f + 150.0f * i, 1.5f, 255, 255, 255);
  }
  Row(BLEND_ADDITIVE, 650.0f, 570.0f, 0.5f, 0.5f, 1, 0, 320, 512, 400, texMoji2, WHITE);
}

} // namespace

void DrawGameHud() {
  if (Round.phase < PHASE_CRASHED) {
    DrawItemRows();
    DrawScoreRows();
    DrawCaution();
    DrawGatePanel();
  }
  if (Round.mode == MODE_FREE_VIEW) DrawBestScoreBoard();
}
