// The screen of a game frame: the scene texture as one full-screen sprite,
// tinted and faded by Screen, then what must stay untinted over it: the ghost
// overlay, the game-over board and the pause menu. The ghost ship goes first,
// straight onto the back buffer, so it only shows where the world is faded.
#include "render/compose.h"

#include <d3d9.h>
#include <d3dx9.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "frontend/best_scores.h"
#include "frontend/title.h"
#include "game/world_state.h"
#include "media/mesh_resource.h"
#include "media/sprite_draw.h"
#include "media/render_values.h"

namespace {

void DrawWhite(BlendMode mode, float x, float y, float scaleX, float scaleY, int left, int top,
               int right, int bottom, IDirect3DTexture9* texture) {
  DrawSprite(mode, x, y, 0.0f, 0.0f, scaleX, scaleY, 1.0f, left, top, right, bottom, texture, 255,
             255, 255, 255);
}

void DrawGhostShip() {
  D3DXMATRIX scale, spin;
  D3DXMatrixScaling(&scale, 3.0f, 3.0f, 3.0f);
  D3DXMatrixRotationZ(&spin, ToRadians(Player.dashSpin));
  D3DXMATRIX world = scale * spin * Player.world;
  Gfx.device->SetTransform(D3DTS_WORLD, &world);
  DrawMesh(meshGitor);
}

void DrawWorldImage() {
  // The scene texture is a render target; the sprite reads it like any texture.
  DrawSprite(BLEND_ALPHA, 400.0f, 300.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 0, 800, 600,
             Gfx.sceneTexture, Screen.alpha, (int)Screen.tint.r, (int)Screen.tint.g,
             (int)Screen.tint.b);
}

void DrawGameOverBoard() {
  DrawSprite(BLEND_ADDITIVE, 420.0f, 80.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 400, 512, 480,
             texMoji2, 100, 0, 255, 255);
  DrawWhite(BLEND_ADDITIVE, 423.0f, 83.0f, 1.0f, 1.0f, 0, 400, 512, 480, texMoji2);
  DrawSprite(BLEND_ADDITIVE, 420.0f, 290.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0, 160, 512, 240,
             texMoji2, 100, 255, 255, 0);
  DrawWhite(BLEND_ADDITIVE, 423.0f, 293.0f, 1.0f, 1.0f, 0, 160, 512, 240, texMoji2);
  DrawWhite(BLEND_ADDITIVE, 650.0f, 570.0f, 0.5f, 0.5f, 0, 320, 512, 400, texMoji2);

  SplitDigits((int)Round.score);
  DrawNumber(500.0f, 170.0f, 1.1f, 255, 255, 255);
  for (int i = 0; i < 3; ++i) {
    SplitDigits(bestScores[i]);
    DrawNumber(600.0f, 370.0f + 60.0f * i, 0.8f, 255, 255, 255);
  }
  DrawWhite(BLEND_ALPHA, 500.0f, 210.0f, 1.0f, 1.0f, 320, 0, 384, 64, tex123);

  // Gold, silver and bronze.
  DrawSprite(BLEND_ALPHA, 300.0f, 370.0f, 0.0f, 0.0f, 0.7f, 0.7f, 1.0f, 0, 0, 100, 100, texTrophy,
             255, 255, 255, 50);
  DrawWhite(BLEND_ALPHA, 300.0f, 430.0f, 0.7f, 0.7f, 0, 0, 100, 100, texTrophy);
  DrawSprite(BLEND_ALPHA, 300.0f, 490.0f, 0.0f, 0.0f, 0.7f, 0.7f, 1.0f, 0, 0, 100, 100, texTrophy,
             255, 255, 150, 50);
}

void DrawPauseMenu() {
  DrawSprite(BLEND_ADDITIVE, 410.0f, 200.0f, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, 0, 0, 256, 64, texReturn,
             255, 155, 155, 255);
  DrawSprite(BLEND_ADDITIVE, 413.0f, 203.0f, 0.0f, 0.0f, 2.0f, 2.0f, 1.0f, 0, 0, 256, 64, texReturn,
             255, 0, 0, 255);
  const float cursorX = 210.0f + 220.0f * menuCursor;
  DrawSprite(BLEND_ADDITIVE, cursorX, 230.0f, 0.0f, 0.0f, 0.8f, 0.8f, 0.0f, 0, 0, 64, 64, texStar,
             255, 0, 0, 255);
  DrawSprite(BLEND_ADDITIVE, cursorX, 230.0f, 0.0f, 0.0f, 0.8f, 0.8f, 0.0f, 0, 0, 64, 64, texStar,
             255, 255, 255, 255);
}

} // namespace

void ComposeGameScreen() {
  const bool ghost = Item.effect == EFFECT_GHOST;
  if (ghost) DrawGhostShip();
  DrawWorldImage();
  if (ghost) DrawWhite(BLEND_ADDITIVE, 400.0f, 300.0f, 10.0f, 10.0f, 0, 0, 80, 60, texGhost);
  if (Round.phase == PHASE_CRASHED) DrawGameOverBoard();
  if (Round.phase == PHASE_PAUSED) DrawPauseMenu();
}
