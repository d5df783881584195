// The effect layers of the 3D world and the ship, drawn into the scene texture
// after the background bodies and the obstacles, ending with the HUD. Every
// layer but the ship is hand-built quads; each leaves the standing states
// (lighting on, DESTBLEND INVSRCALPHA, depth writes on) as it found them.
#include "render/world_render.h"

#include <d3d9.h>
#include <d3dx9.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "game/world_state.h"
#include "media/mesh_resource.h"
#include "media/sprite_draw.h"
#include "media/render_values.h"
#include "render/hud.h"

namespace {

struct Corner {
  float x, y, z, u, v;
};

// Fills a quad's four vertices (fan order) with one colour.
void FillQuad(QuadVertex quad[4], const Corner corners[4], D3DCOLOR color) {
  for (int i = 0; i < 4; ++i) {
    quad[i].position = D3DXVECTOR3(corners[i].x, corners[i].y, corners[i].z);
    quad[i].diffuse = color;
    quad[i].texcoord = D3DXVECTOR2(corners[i].u, corners[i].v);
  }
}

void BeginQuadLayer(IDirect3DTexture9* texture) {
  IDirect3DDevice9* device = Gfx.device;
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetFVF(QUAD_FVF);
  device->SetTexture(0, texture);
}

void EndQuadLayer() { Gfx.device->SetRenderState(D3DRS_LIGHTING, TRUE); }

void DrawFan(const QuadVertex quad[4]) {
  Gfx.device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(QuadVertex));
}

// Additive, and with depthWrites false also leaving the depth buffer alone.
void BeginAdditive(bool depthWrites) {
  Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  if (!depthWrites) Gfx.device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
}

void EndAdditive(bool depthWrites) {
  Gfx.device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  if (!depthWrites) Gfx.device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
}

void DrawAdditiveQuad(const QuadVertex quad[4], const D3DXMATRIX& world, bool depthWrites) {
  Gfx.device->SetTransform(D3DTS_WORLD, &world);
  BeginAdditive(depthWrites);
  DrawFan(quad);
  EndAdditive(depthWrites);
}

D3DXMATRIX Scaling(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, x, y, z);
  return m;
}

D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}

D3DXMATRIX Translation(const D3DXVECTOR3& v) { return Translation(v.x, v.y, v.z); }

D3DXMATRIX RotationZDegrees(float degrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationZ(&m, ToRadians(degrees));
  return m;
}

void DrawItemHalos() {
  if (Round.mode != MODE_NORMAL) return;
  for (int k = 0; k < ROCK_COUNT; ++k)
    if (rocks[k].kind == KIND_ITEM) DrawCrossedQuads(k);
}

void DrawWarningMarkers() {
  static const Corner corners[4] = {
      {-1, -1, 0, 0, 1}, {1, -1, 0, 1, 1}, {1, 1, 0, 1, 0}, {-1, 1, 0, 0, 0}};
  QuadVertex quad[4];
  FillQuad(quad, corners, 0x9BFF3737);
  const bool shown = Round.phase == PHASE_FLYING && Round.mode == MODE_NORMAL &&
                     Item.effect != EFFECT_GHOST;
  for (int n = 0; n < MARKER_COUNT; ++n) {
    const D3DXVECTOR3& marker = Probe.markers[n];
    if (!shown || Player.pos.z > marker.z) continue;
    BeginQuadLayer(texAsist);
    DrawAdditiveQuad(quad, Scaling(2, 2, 1) * Translation(marker), false);
    EndQuadLayer();
  }
}

// The streaks write depth, so the ship and glows drawn later sort against them.
void DrawStarField() {
  static const Corner corners[4] = {
      {0, 0, 0, 0, 1}, {1, 0, 0, 1, 1}, {1, 1, 0, 1, 0}, {0, 1, 0, 0, 0}};
  const D3DXMATRIX scale = Scaling(0.2f, 0.2f, 0.2f);
  for (int i = 0; i < STAR_COUNT; ++i) {
    const Star& star = stars[i];
    QuadVertex quad[4];
    FillQuad(quad, corners,
             PackColor(0xFF, (int)star.color.r, (int)star.color.g, (int)star.color.b));
    BeginQuadLayer(texDam2);
    DrawAdditiveQuad(quad, scale * Translation(star.pos), true);
    EndQuadLayer();
  }
}

void DrawParticleSwarm() {
  static const Corner corners[4] = {
      {-2, 2, 0, 1, 0}, {2, 2, 0, 1, 1}, {2, -2, 0, 0, 1}, {-2, -2, 0, 0, 0}};
  QuadVertex quad[4];
  FillQuad(quad, corners, 0xFFC8C8FF);
  BeginQuadLayer(texStar);
  for (int i = 0; i < PARTICLE_COUNT; ++i) {
    if (!Particle.active[i]) continue;
    const float s = Particle.scale[i];
    DrawAdditiveQuad(quad, Scaling(s, s, s) * RotationZDegrees(Particle.spin[i]) *
                               Translation(Particle.pos[i]),
                     false);
  }
  EndQuadLayer();
}

// The glows overlap, so their order shows: the top nozzle's first.
const int GLOW_ORDER[NOZZLE_COUNT] = {2, 0, 1};

void DrawShipMesh() {
  const D3DXMATRIX world = Scaling(3, 3, 3) * RotationZDegrees(Player.dashSpin) * Player.world;
  Gfx.device->SetTransform(D3DTS_WORLD, &world);
  DrawMesh(meshGitor);
}

void DrawGlowSet(IDirect3DTexture9* texture, const Corner corners[4], D3DCOLOR color,
                 const D3DXMATRIX& scale) {
  QuadVertex quad[4];
  FillQuad(quad, corners, color);
  const D3DXMATRIX shipFrame = RotationZDegrees(Player.dashSpin) * Player.world;
  BeginQuadLayer(texture);
  for (int n : GLOW_ORDER)
    DrawAdditiveQuad(quad, scale * Translation(NOZZLE_OFFSETS[n]) * shipFrame, false);
  EndQuadLayer();
}

void DrawEngineGlows() {
  static const Corner hot[4] = {
      {-1.5f, -1.5f, 0, 0, 0}, {-1.5f, 1.5f, 0, 0, 1}, {1.5f, 1.5f, 0, 1, 1}, {1.5f, -1.5f, 0, 1, 0}};
  static const Corner halo[4] = {
      {-1, -1, 0, 0, 0}, {-1, 1, 0, 0, 1}, {1, 1, 0, 1, 1}, {1, -1, 0, 1, 0}};
  DrawGlowSet(texEffect2, hot, PackColor(Player.glowAlpha, 200, 200, 255), Scaling(0.3f, 0.3f, 1));
  DrawGlowSet(texEffect1, halo, 0x50FFFFFF, Scaling(1, 1, 1));
}

D3DXVECTOR3 TransformedCorner(float x, float y, float z, const D3DXMATRIX& m) {
  const D3DXVECTOR3 local(x, y, z);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &local, &m);
  return out;
}

// Two crossed ribbons per nozzle through the last ten nozzle positions,
// already in world space.
void DrawTrails() {
  const D3DCOLOR color = 0x649B9BFF;
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  BeginQuadLayer(texBLight);
  for (int e = 0; e < NOZZLE_COUNT; ++e) {
    const D3DXMATRIX* h = Player.trailHistory[e];
    for (int s = 0; s < TRAIL_LENGTH - 1; ++s) {
      const float v0 = s / 9.0f;
      const float v1 = (s + 1) / 9.0f;
      QuadVertex ribbonA[4], ribbonB[4];
      const D3DXVECTOR3 a[4] = {
          TransformedCorner(0, -0.5f, -0.5f, h[s]), TransformedCorner(0, 0.5f, -0.5f, h[s]),
          TransformedCorner(0, 0.5f, -0.5f, h[s + 1]), TransformedCorner(0, -0.5f, -0.5f, h[s + 1])};
      const D3DXVECTOR3 b[4] = {
          TransformedCorner(-0.5f, 0, -0.5f, h[s]), TransformedCorner(0.5f, 0, -0.5f, h[s]),
          TransformedCorner(0.5f, 0, -0.5f, h[s + 1]), TransformedCorner(-0.5f, 0, -0.5f, h[s + 1])};
      const D3DXVECTOR2 uv[4] = {D3DXVECTOR2(0, v0), D3DXVECTOR2(1, v0), D3DXVECTOR2(1, v1),
                                 D3DXVECTOR2(0, v1)};
      for (int i = 0; i < 4; ++i) {
        ribbonA[i] = {a[i], color, uv[i]};
        ribbonB[i] = {b[i], color, uv[i]};
      }
      Gfx.device->SetTransform(D3DTS_WORLD, &identity);
      BeginAdditive(false);
      DrawFan(ribbonA);
      DrawFan(ribbonB);
      EndAdditive(false);
    }
  }
  EndQuadLayer();
}

// Thirty streaks fanned every 12 degrees around the line of flight; odd ones
// are turned half a turn about their own axis, which mirrors the texture.
void DrawSpeedLines() {
  if (Player.velX != 0.0f || Player.velY != 0.0f || Player.handsOffFrames < 40) return;
  const int alpha = Round.score >= 500.0f ? 255 : 155;
  const float z0 = Player.handsOffFrames / 10.0f - 10.0f;
  const float p = Player.boostPhase;
  const Corner corners[4] = {
      {-1, 0, z0, p, 1}, {1, 0, z0, p + 1, 1}, {0.2f, 0, -6, p + 1, 0}, {-0.2f, 0, -6, p, 0}};
  QuadVertex quad[4];
  FillQuad(quad, corners, PackColor(alpha, 255, 255, 255));
  D3DXMATRIX tilt;
  D3DXMatrixRotationX(&tilt, 3.665191f);
  const D3DXMATRIX offset = Translation(0, 4, 1);
  const D3DXMATRIX atShip = Translation(Player.pos);
  BeginQuadLayer(texKaze3);
  for (int i = 0; i < 30; ++i) {
    const D3DXMATRIX world = RotationZDegrees(180.0f * i) * Scaling(0.5f, 1, 1) * tilt * offset *
                             RotationZDegrees(12.0f * i) * atShip;
    DrawAdditiveQuad(quad, world, false);
  }
  EndQuadLayer();
}

void DrawSpeedChangeSheets() {
  const bool speedUp = Item.effect == EFFECT_SPEED_UP;
  const bool speedDown = Item.effect == EFFECT_SPEED_DOWN && Round.phase == PHASE_FLYING;
  if (!speedUp && !speedDown) return;
  static const Corner corners[4] = {
      {-1, 0, 1, 0, 1}, {1, 0, 1, 1, 1}, {1, 0, -1, 1, 0}, {-1, 0, -1, 0, 0}};
  QuadVertex quad[4];
  FillQuad(quad, corners, speedUp ? PackColor(255, 55, 55, 255) : PackColor(255, 255, 55, 55));
  const D3DXVECTOR3& at = Player.pos;
  BeginQuadLayer(texSmoke2);
  for (int i = 0; i < 3; ++i)
    DrawAdditiveQuad(quad,
                     Scaling(7, 7, 7) * Translation(at.x - 0.1f, at.y + Item.speedSignY + i, at.z),
                     false);
  EndQuadLayer();
}

// One 100-pixel frame of the 16-frame strip, 5 units behind the ship.
void DrawCrashExplosion() {
  const int f = Round.explosionFrame;
  const float u0 = (f * 100) / 1600.0f;
  const float u1 = ((f + 1) * 100) / 1600.0f;
  const Corner corners[4] = {
      {-1, -1, 0, u0, 1}, {1, -1, 0, u1, 1}, {1, 1, 0, u1, 0}, {-1, 1, 0, u0, 0}};
  QuadVertex quad[4];
  FillQuad(quad, corners, 0xFFFFFFFF);
  const D3DXVECTOR3& at = Player.pos;
  BeginQuadLayer(texBaku1);
  DrawAdditiveQuad(quad, Scaling(18, 18, 1) * Translation(at.x, at.y, at.z - 5.0f), true);
  EndQuadLayer();
}

} // namespace

void DrawGameWorld() {
  DrawItemHalos();
  DrawWarningMarkers();
  DrawStarField();
  DrawParticleSwarm();
  if (!Player.crashed) {
    if (Item.effect != EFFECT_GHOST) DrawShipMesh();
    DrawEngineGlows();
    if (!Player.dashing) DrawTrails();
  }
  DrawSpeedLines();
  DrawSpeedChangeSheets();
  if (Player.crashed) DrawCrashExplosion();
  DrawGameHud();
}
