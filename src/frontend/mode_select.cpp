#include "frontend/mode_select.h"

#include <cstdlib>

#include <windows.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "frontend/fade.h"
#include "game/world_state.h"
#include "media/sound_play.h"
#include "media/sprite_draw.h"
#include "media/render_values.h"

int selectCursor = 0;
float selectZoom = 0.0f;
float selectScale[4] = {0.6f, 0.6f, 0.6f, 0.6f};
int selectAlpha[4] = {100, 100, 100, 100};

namespace {

struct OptionLayout {
  int option;
  float x, y;
  int iconLeft;
};

// Options 0, 2 and 3 in drawing order; option 1 exists but is never shown.
const OptionLayout OPTIONS[3] = {
    {0, 400.0f, 150.0f, 128},
    {2, 150.0f, 450.0f, 384},
    {3, 650.0f, 450.0f, 256},
};

constexpr float STAR_SPEED = 3.0f;
constexpr float STAR_RESPAWN_Z = -5.0f;

// A move needs a fresh press and no fade under way.
void MoveTo(int option) {
  if (arrowKeyLatch || fadeActive) return;
  PlaySoundOnce(sounds[SND_TRAMP]);
  arrowKeyLatch = true;
  selectCursor = option;
  selectZoom = 0.0f;
}

void StreamMenuStars() {
  for (Star& star : stars) {
    star.pos.z -= STAR_SPEED;
    if (star.pos.z <= STAR_RESPAWN_Z) {
      star.pos.x = (float)(rand() % 200 - 100);
      star.pos.y = (float)(rand() % 200 - 100);
      star.pos.z = (float)(rand() % 200 + 100);
    }
  }
}

void DrawStar(const Star& star) {
  Gfx.device->SetRenderState(D3DRS_LIGHTING, FALSE);
  Gfx.device->SetFVF(QUAD_FVF);
  Gfx.device->SetTexture(0, texDam2);

  D3DCOLOR colour = PackColor(255, (int)star.color.r, (int)star.color.g, (int)star.color.b);
  QuadVertex quad[4] = {
      {D3DXVECTOR3(0.0f, 0.0f, 0.0f), colour, D3DXVECTOR2(0.0f, 1.0f)},
      {D3DXVECTOR3(1.0f, 0.0f, 0.0f), colour, D3DXVECTOR2(1.0f, 1.0f)},
      {D3DXVECTOR3(1.0f, 1.0f, 0.0f), colour, D3DXVECTOR2(1.0f, 0.0f)},
      {D3DXVECTOR3(0.0f, 1.0f, 0.0f), colour, D3DXVECTOR2(0.0f, 0.0f)},
  };

  D3DXMATRIX scaling, translation, world;
  D3DXMatrixScaling(&scaling, 0.15f, 0.15f, 1.0f);
  D3DXMatrixTranslation(&translation, star.pos.x, star.pos.y, star.pos.z);
  world = scaling * translation;
  Gfx.device->SetTransform(D3DTS_WORLD, &world);

  Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  Gfx.device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(QuadVertex));
  Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  Gfx.device->SetRenderState(D3DRS_LIGHTING, TRUE);
}

}  // namespace

void ModeSelectInput() {
  if (GetAsyncKeyState(VK_LEFT)) {
    if (selectCursor == 0 || selectCursor == 3) MoveTo(2);
  } else if (GetAsyncKeyState(VK_RIGHT)) {
    if (selectCursor == 0 || selectCursor == 2) MoveTo(3);
  } else if (GetAsyncKeyState(VK_DOWN)) {
    if (selectCursor == 0) MoveTo(2);
  } else if (GetAsyncKeyState(VK_UP)) {
    if (selectCursor == 2 || selectCursor == 3) MoveTo(0);
  } else {
    arrowKeyLatch = false;
  }

  for (int i = 0; i < 4; ++i) {
    bool chosen = i == selectCursor;
    selectScale[i] = chosen ? 1.5f : 0.6f;
    selectAlpha[i] = chosen ? 255 : 50;
  }

  if (selectZoom <= 1.0f) selectZoom += 0.1f;

  StreamMenuStars();
}

void ModeSelectDraw() {
  PlaySoundLooping(sounds[SND_LOOP_56]);

  for (const Star& star : stars) DrawStar(star);

  DrawSprite(BLEND_ADDITIVE, 410.0f, 40.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0, 192, 512, 256,
             texOpmoji, 255, 0, 255, 255);
  DrawSprite(BLEND_ADDITIVE, 412.0f, 42.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0, 192, 512, 256,
             texOpmoji, 255, 255, 255, 255);

  // The glow copy stays 0.1 larger, so a thin glow shows even at zoom 0.
  int top = 80 * selectCursor;
  DrawSprite(BLEND_ADDITIVE, 400.0f, 300.0f, 0.0f, 0.0f, selectZoom, selectZoom, 0.0f, 0, top, 512,
             top + 80, texMoji2, 255, 255, 255, 255);
  DrawSprite(BLEND_ADDITIVE, 400.0f, 300.0f, 0.0f, 0.0f, selectZoom + 0.1f, selectZoom + 0.1f, 0.0f,
             0, top, 512, top + 80, texMoji2, 255, 0, 150, 255);

  for (const OptionLayout& layout : OPTIONS) {
    float scale = selectScale[layout.option];
    DrawSprite(BLEND_ALPHA, layout.x, layout.y, 0.0f, 0.0f, scale, scale, 1.0f, layout.iconLeft, 0,
               layout.iconLeft + 128, 128, texSelect, selectAlpha[layout.option], 255, 255, 255);
  }

  if (fadeActive) FadeOutStep();
}

void ModeSelectEnterRule() {
  if (FreshEnterOn(SCENE_MODE_SELECT)) StartFade();
}
