// The game started in-process on the generated data, with a game state built
// by hand for each test, one drawn frame (everything after the update) and
// the device's draw log to tell what was drawn where.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <algorithm>
#include <vector>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "internal/automation.h"
#include "frontend/best_scores.h"
#include "frontend/title.h"
#include "game/game_frame.h"
#include "game/world_state.h"
#include "internal/d3d9_device.h"
#include "media/sprite_draw.h"
#include "support/game_in_process.h"

namespace rendertest {

using corvane::d3d9::DrawRecord;

struct Vertex {  // QuadVertex and the sprite's vertex share this layout
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};

constexpr float PZ = 1000.0f;  // where the ship flies in every test

class RenderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartGameInProcess()); }

  // Flying straight ahead along +z at z = PZ, camera 8 behind on the axis,
  // nothing in the world but the star field and the background bodies.
  // The records hold D3DX vectors, whose default constructors write nothing,
  // so fresh records are copied from zero-filled static ones.
  template <typename T>
  static T Zeroed() {
    static T zero;  // static storage starts zero-filled
    return zero;
  }

  void SetUp() override {
    corvane::UseVirtualClock(true);
    Player = Zeroed<PlayerRecord>();
    Player.radius = 1.0f;
    Player.glowAlpha = 255;
    Player.pos = D3DXVECTOR3(0, 0, PZ);
    D3DXMatrixTranslation(&Player.world, 0, 0, PZ);
    Player.flightFrame = Player.world;
    for (auto& history : Player.trailHistory)
      for (D3DXMATRIX& m : history) m = Player.world;
    Camera = Zeroed<CameraRecord>();
    Camera.eye = D3DXVECTOR3(0, 0, PZ - 8.0f);
    Round = RoundRecord{};
    Round.phase = PHASE_FLYING;
    Round.level = 1.0f;
    Round.score = 100.0f;
    for (Rock& rock : rocks) rock = Rock{D3DXVECTOR3(0, 0, 0), 1.0f, 0, 0, KIND_GONE, false, 13.0f, 17.0f};
    Gate = GateRecord{};
    Item = ItemRecord{};
    Graze = Zeroed<GrazeRecord>();
    Screen = ScreenRecord{{255.0f, 255.0f, 255.0f}, 255};
    for (D3DXVECTOR3& m : Probe.markers) m = D3DXVECTOR3(0, 0, -400.0f);
    Particle = Zeroed<ParticleRecord>();
    menuCursor = 0;
    SplitDigits(100);
  }

  void Frame() {
    log.clear();
    corvane::d3d9::SetDrawLog(Gfx.device, &log);
    DrawGameFrame();
    corvane::d3d9::SetDrawLog(Gfx.device, nullptr);
  }

  static bool OnScreen(const DrawRecord& r) { return r.projection._34 == 0.0f; }  // the sprites' ortho
  static const Vertex* Vertices(const DrawRecord& r) {
    return reinterpret_cast<const Vertex*>(r.vertices.data());
  }
  static float CentreX(const DrawRecord& r) {
    const Vertex* v = Vertices(r);
    return (v[0].x + v[1].x + v[2].x + v[3].x) / 4.0f;
  }
  static float Width(const DrawRecord& r) {
    const Vertex* v = Vertices(r);
    return std::max({v[0].x, v[1].x, v[2].x, v[3].x}) - std::min({v[0].x, v[1].x, v[2].x, v[3].x});
  }

  // Draws of `texture` into `target` (the scene texture unless given);
  // screen: only sprites (1), only world geometry (0), either (-1).
  std::vector<const DrawRecord*> Draws(IDirect3DTexture9* texture, int screen = -1,
                                       IDirect3DSurface9* target = nullptr) const {
    std::vector<const DrawRecord*> out;
    for (const DrawRecord& r : log)
      if (r.texture == texture && r.target == (target ? target : Gfx.sceneSurface) &&
          (screen < 0 || OnScreen(r) == (screen == 1)))
        out.push_back(&r);
    return out;
  }
  int Count(IDirect3DTexture9* texture, int screen = -1, IDirect3DSurface9* target = nullptr) const {
    return (int)Draws(texture, screen, target).size();
  }

  // Mesh draws (indexed) into the scene whose world matrix places them at x.
  std::vector<float> MeshesAtX(IDirect3DSurface9* target = nullptr) const {
    std::vector<float> xs;
    for (const DrawRecord& r : log)
      if (r.vertices.empty() && r.world._11 != 3.0f && r.target == (target ? target : Gfx.sceneSurface))
        xs.push_back(r.world._41);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    return xs;
  }

  // Draws of the ship's mesh (scale 3) into `target`.
  int ShipMeshDraws(IDirect3DSurface9* target = nullptr) const {
    int n = 0;
    for (const DrawRecord& r : log)
      n += r.vertices.empty() && r.world._11 == 3.0f && r.target == (target ? target : Gfx.sceneSurface);
    return n;
  }

  // Mean of r + g + b over the 5 x 5 block centred on (x, y).
  static double Brightness(IDirect3DSurface9* surface, int x, int y) {
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    EXPECT_TRUE(corvane::d3d9::ReadSurfacePixels(surface, &rgba, &w, &h));
    double sum = 0;
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) {
        const uint8_t* p = &rgba[((size_t)(y + dy) * w + (x + dx)) * 4];
        sum += p[0] + p[1] + p[2];
      }
    return sum / 25.0;
  }

  std::vector<DrawRecord> log;
};

inline void PlaceRock(int slot, int kind, float x, float y, float z) {
  rocks[slot].kind = kind;
  rocks[slot].pos = D3DXVECTOR3(x, y, z);
}

}  // namespace rendertest
