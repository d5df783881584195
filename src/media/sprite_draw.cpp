#include "media/sprite_draw.h"

#include <d3dx9.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "game/world_state.h"
#include "media/render_values.h"

DigitBufferRecord DigitBuffer;
IDirect3DTexture9* placeholderTexture = NULL;

namespace {

constexpr UINT PLACEHOLDER_SIZE = 64;
constexpr UINT PLACEHOLDER_CELL = 8;

// The item glow: one quad, drawn twice as a cross.
const QuadVertex GLOW_QUAD[4] = {
    {D3DXVECTOR3(-15.0f, 15.0f, 0.0f), 0xFF3737FF, D3DXVECTOR2(1.0f, 0.0f)},
    {D3DXVECTOR3(15.0f, 15.0f, 0.0f), 0xFF37FF37, D3DXVECTOR2(1.0f, 1.0f)},
    {D3DXVECTOR3(15.0f, -15.0f, 0.0f), 0xFFFF3737, D3DXVECTOR2(0.0f, 1.0f)},
    {D3DXVECTOR3(-15.0f, -15.0f, 0.0f), 0xFFFFFFFF, D3DXVECTOR2(0.0f, 0.0f)},
};

}  // namespace

void CreatePlaceholderTexture() {
  if (placeholderTexture != NULL || Gfx.device == NULL) return;
  if (FAILED(D3DXCreateTexture(Gfx.device, PLACEHOLDER_SIZE, PLACEHOLDER_SIZE, 1, 0,
                               D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &placeholderTexture))) {
    placeholderTexture = NULL;
    return;
  }
  D3DLOCKED_RECT locked;
  if (FAILED(placeholderTexture->LockRect(0, &locked, NULL, 0))) return;
  for (UINT y = 0; y < PLACEHOLDER_SIZE; ++y) {
    DWORD* row = (DWORD*)((BYTE*)locked.pBits + y * locked.Pitch);
    for (UINT x = 0; x < PLACEHOLDER_SIZE; ++x) {
      bool dark = ((x / PLACEHOLDER_CELL) + (y / PLACEHOLDER_CELL)) % 2 != 0;
      row[x] = dark ? 0xFF000000 : 0xFFFF00FF;
    }
  }
  placeholderTexture->UnlockRect(0);
}

void ReleasePlaceholderTexture() {
  if (placeholderTexture != NULL) {
    placeholderTexture->Release();
    placeholderTexture = NULL;
  }
}

void DrawSprite(BlendMode blendMode, float x, float y, float z, float angle, float scaleX,
                float scaleY, float scaleZ, int left, int top, int right, int bottom,
                IDirect3DTexture9* texture, int alpha, int red, int green, int blue) {
  // A missing picture shows as a loud checker rather than as nothing.
  if (texture == NULL) texture = placeholderTexture;

  Gfx.sprite->Begin(D3DXSPRITE_ALPHABLEND);
  // After Begin, which installs the sprite object's own blend states.
  if (blendMode != BLEND_ALPHA) Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  if (blendMode == BLEND_ADDITIVE_NO_DEPTH) Gfx.device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);

  D3DXMATRIX translation, scaling, rotation, transform;
  D3DXMatrixTranslation(&translation, x, y, z);
  D3DXMatrixScaling(&scaling, scaleX, scaleY, scaleZ);
  D3DXMatrixRotationZ(&rotation, ToRadians(angle));
  transform = scaling * rotation * translation;
  Gfx.sprite->SetTransform(&transform);

  RECT source = {left, top, right, bottom};
  D3DXVECTOR3 centre((float)(right - left) / 2.0f, (float)(bottom - top) / 2.0f, 0.0f);
  Gfx.sprite->Draw(texture, &source, &centre, NULL, PackColor(alpha, red, green, blue));
  Gfx.sprite->End();

  if (blendMode != BLEND_ALPHA) Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  if (blendMode == BLEND_ADDITIVE_NO_DEPTH) Gfx.device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
}

void SplitDigits(int value) {
  for (int& digit : DigitBuffer.digits) digit = 0;
  DigitBuffer.digitCount = 0;

  // 64 bits: the power of ten above a ten-digit value leaves the 32-bit range.
  long long power = 1;
  while (value >= power) {
    power *= 10;
    DigitBuffer.digitCount += 1;
  }
  power /= 10;
  long long rest = value;
  for (int i = 0; power > 0 && i < 20; ++i) {
    DigitBuffer.digits[i] = (int)(rest / power);
    rest -= power * DigitBuffer.digits[i];
    power /= 10;
  }
}

void DrawNumber(float x, float y, float scale, int red, int green, int blue) {
  int count = DigitBuffer.digitCount;
  for (int i = 0; i < count; ++i) {
    int digit = DigitBuffer.digits[i];
    DrawSprite(BLEND_ADDITIVE, x - (float)(32 * count) + (float)(32 * i) * scale, y, 0.0f, 0.0f,
               scale, scale, 0.0f, 32 * digit, 0, 32 * digit + 32, 64, tex123, 255, red, green,
               blue);
  }
}

void DrawCrossedQuads(int index) {
  Gfx.device->SetRenderState(D3DRS_LIGHTING, FALSE);
  Gfx.device->SetFVF(QUAD_FVF);

  QuadVertex vertices[8];
  for (int k = 0; k < 2; ++k) {
    for (int v = 0; v < 4; ++v) vertices[4 * k + v] = GLOW_QUAD[v];
  }

  for (int k = 0; k < 2; ++k) {
    Gfx.device->SetTexture(0, texSmoke2);
    D3DXMATRIX translation, rotation, world;
    D3DXMatrixTranslation(&translation, rocks[index].pos.x, rocks[index].pos.y,
                          rocks[index].pos.z);
    if (k == 0) {
      D3DXMatrixRotationX(&rotation, ToRadians(Item.meshAngle));
    } else {
      D3DXMatrixRotationY(&rotation, ToRadians(Item.meshAngle));
    }
    world = rotation * translation;
    Gfx.device->SetTransform(D3DTS_WORLD, &world);
    Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    Gfx.device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    Gfx.device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, &vertices[4 * k], sizeof(QuadVertex));
    Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Gfx.device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  }

  Gfx.device->SetRenderState(D3DRS_LIGHTING, TRUE);
}
