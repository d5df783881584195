// One frame of the game scene. The update runs first; the world is then drawn
// into the scene texture with the drawing camera, while the projection camera
// (without the countdown's pull-back) places the background bodies and decides
// which obstacles are worth drawing. The composite puts it all on screen.
#include "game/game_frame.h"

#include <cstdlib>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "game/update_game.h"
#include "game/world_state.h"
#include "media/mesh_resource.h"
#include "media/sprite_draw.h"
#include "media/render_values.h"
#include "render/compose.h"
#include "render/world_render.h"

namespace {

const float FIELD_OF_VIEW = 1.0471975803375244f; // pi/3
const float ASPECT_RATIO = 1.3333334f;
const float PROJECTION_FAR = 2000.0f;
const float DRAWING_FAR = 1000.0f;

// The projection camera, which places points on the screen; the drawing
// camera is built apart from it in the frame.
struct FrameCameras {
  D3DXMATRIX projectionView;
  D3DXMATRIX projectionProj;
};

// Projects a world point with the projection camera into Camera.screenPoint.
void ProjectToScreen(const D3DXVECTOR3& point, const D3DVIEWPORT9& viewport,
                     const FrameCameras& cameras, const D3DXMATRIX& world) {
  D3DXVec3Project(&Camera.screenPoint, &point, &viewport, &cameras.projectionProj,
                  &cameras.projectionView, &world);
}

void DrawBackgroundBody(const D3DXVECTOR3& point, IDirect3DTexture9* texture, int width,
                        int height, float scale, int a, int r, int g, int b,
                        const D3DVIEWPORT9& viewport, const FrameCameras& cameras,
                        const D3DXMATRIX& identity) {
  ProjectToScreen(point, viewport, cameras, identity);
  DrawSprite(BLEND_ADDITIVE_NO_DEPTH, Camera.screenPoint.x, Camera.screenPoint.y,
             Camera.screenPoint.z, 0.0f, scale, scale, 1.0f, 0, 0, width, height, texture, a, r, g,
             b);
}

// The nebulae always; the far bodies only in a normal run outside gate
// events, the moon, galaxies and giant up to level 2.0, the ocean planet after.
void DrawBackgroundBodies(const D3DVIEWPORT9& viewport, const FrameCameras& cameras,
                          const D3DXMATRIX& identity) {
  const float pz = Player.pos.z;
  DrawBackgroundBody(D3DXVECTOR3(-170.0f, 50.0f, pz + 200.0f), texBack2, 256, 256, 5.0f, 255, 55,
                     155, 255, viewport, cameras, identity);
  DrawBackgroundBody(D3DXVECTOR3(170.0f, -100.0f, pz + 200.0f), texBack2, 256, 256, 5.0f, 255, 0,
                     55, 0, viewport, cameras, identity);

  if (Round.mode != MODE_NORMAL || Gate.kind != GATE_NONE) return;
  if (Round.level <= 2.0f) {
    int moon = (int)(pz / 200.0f) + 55;
    DrawBackgroundBody(D3DXVECTOR3(-170.0f, -220.0f, pz + 1000.0f), texBack1, 235, 235,
                       pz / 3000.0f + 0.2f, 255, moon, moon, moon, viewport, cameras, identity);
    int band = (int)(pz / 120.0f) + 155;
    DrawBackgroundBody(D3DXVECTOR3(-900.0f, 400.0f, pz + 1000.0f), texBack3, 436, 235, 2.0f, 255,
                       band, band, (int)(pz / 50.0f) + 155, viewport, cameras, identity);
    int giant = (int)(pz / 100.0f) + 155;
    DrawBackgroundBody(D3DXVECTOR3(250.0f, pz / 10.0f + 200.0f, pz + 1000.0f), texBack4, 447, 275,
                       pz / 10000.0f + 0.5f, 255, giant, giant, giant, viewport, cameras,
                       identity);
    int spiral = (int)(pz / 20.0f) + 55;
    DrawBackgroundBody(D3DXVECTOR3(150.0f, -800.0f - pz, pz + 1000.0f), texBack6, 374, 241,
                       pz / 1000.0f + 1.0f, 255, spiral, spiral, spiral, viewport, cameras,
                       identity);
  } else {
    int planet = (int)(pz / 200.0f) + 55;
    DrawBackgroundBody(D3DXVECTOR3(300.0f, 0.0f, pz + 2000.0f), texEarth, 235, 235,
                       pz / 10000.0f + 0.2f, 255, planet, planet, planet, viewport, cameras,
                       identity);
  }
}

const MeshResource* MeshForKind(int kind) {
  switch (kind) {
    case KIND_STONE: return &meshStone;
    case KIND_DUST: return &meshDust;
    case KIND_ITEM: return &meshItem;
    default: return nullptr;
  }
}

// Obstacles just ahead are drawn while anywhere near the screen (a big stone
// close by covers the view from off-screen); farther ones only when nearly on it.
void DrawObstacles(const D3DVIEWPORT9& viewport, const FrameCameras& cameras,
                   const D3DXMATRIX& identity) {
  const float pz = Player.pos.z;
  for (int k = 0; k < ROCK_COUNT; ++k) {
    Rock& rock = rocks[k];
    if (Gate.kind != GATE_NONE && k > GATE_COUNT) continue;  // the gates and one more
    if (rock.pos.z < pz - 50.0f) continue;
    const float margin = rock.pos.z < pz + 100.0f ? 1000.0f : 70.0f;
    ProjectToScreen(rock.pos, viewport, cameras, identity);
    const float sx = Camera.screenPoint.x;
    const float sy = Camera.screenPoint.y;
    if (sx < -margin || sx > 800.0f + margin || sy < -margin || sy > 600.0f + margin) continue;
    if (rock.kind == KIND_ITEM) rock.spinY = 0;

    D3DXMATRIX scale, spinY, spinZ, move;
    D3DXMatrixScaling(&scale, rock.scale, rock.scale, rock.scale);
    D3DXMatrixRotationY(&spinY, ToRadians((float)rock.spinY));
    D3DXMatrixRotationZ(&spinZ, ToRadians((float)rock.spinZ));
    D3DXMatrixTranslation(&move, rock.pos.x, rock.pos.y, rock.pos.z);
    D3DXMATRIX world = scale * spinY * spinZ * move;
    Gfx.device->SetTransform(D3DTS_WORLD, &world);
    if (const MeshResource* mesh = MeshForKind(rock.kind)) DrawMesh(*mesh);
  }
}

// The graze spark sits in the ship's own frame; while flying without a graze
// (and outside the caution flashes) the world is shown untinted again.
void DrawGrazeSpark(const D3DVIEWPORT9& viewport, const FrameCameras& cameras) {
  if (Graze.active && Round.phase == PHASE_FLYING) {
    ProjectToScreen(Graze.sparkPos, viewport, cameras, Player.world);
    const float angle = (float)(rand() % 360);
    DrawSprite(BLEND_ADDITIVE, Camera.screenPoint.x, Camera.screenPoint.y, Camera.screenPoint.z,
               angle, Graze.sparkSize, Graze.sparkSize * 0.05f, 1.0f, 0, 0, 64, 64, texEffect1, 155,
               255, 255, 255);
    Graze.sparkSize = (float)(rand() % 5 + 5);
    Screen.tint = {255.0f, 90.0f, 90.0f};
  } else if (Round.phase == PHASE_FLYING && !Gate.caution) {
    Screen.tint = {255.0f, 255.0f, 255.0f};
  }
}

} // namespace

void GameFrame() {
  UpdateGame();
  DrawGameFrame();
}

void DrawGameFrame() {
  IDirect3DDevice9* device = Gfx.device;
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);

  FrameCameras cameras;
  const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&cameras.projectionView, &Camera.eye, &Player.pos, &up);
  D3DXMatrixPerspectiveFovLH(&cameras.projectionProj, FIELD_OF_VIEW, ASPECT_RATIO, 1.0f,
                             PROJECTION_FAR);
  device->SetTransform(D3DTS_VIEW, &cameras.projectionView);
  device->SetTransform(D3DTS_PROJECTION, &cameras.projectionProj);

  device->SetRenderTarget(0, Gfx.sceneSurface);
  device->SetDepthStencilSurface(Gfx.sceneDepth);

  // The drawing camera starts the countdown far ahead and a little low and
  // slides back to the projection camera as introOffset falls to 0.
  const D3DXVECTOR3 drawEye(Camera.eye.x, Camera.eye.y - 0.06f * Round.introOffset,
                            Camera.eye.z + Round.introOffset);
  const D3DXVECTOR3 drawAt(Player.pos.x, Player.pos.y, Player.pos.z + Round.introOffset);
  D3DXMATRIX drawView, drawProj;
  D3DXMatrixLookAtLH(&drawView, &drawEye, &drawAt, &up);
  D3DXMatrixPerspectiveFovLH(&drawProj, FIELD_OF_VIEW, ASPECT_RATIO, 1.0f, DRAWING_FAR);
  device->SetTransform(D3DTS_VIEW, &drawView);
  D3DVIEWPORT9 viewport = {0, 0, 800, 600, 0.0f, 1.0f};
  device->SetViewport(&viewport);
  device->SetTransform(D3DTS_PROJECTION, &drawProj);

  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(255, 0, 0, 0),
                1.0f, 0);

  device->GetViewport(&viewport);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  DrawBackgroundBodies(viewport, cameras, identity);
  if (Round.mode == MODE_NORMAL) DrawObstacles(viewport, cameras, identity);

  DrawGameWorld();

  device->GetViewport(&viewport);
  DrawGrazeSpark(viewport, cameras);

  device->SetRenderTarget(0, Gfx.backBuffer);
  device->SetDepthStencilSurface(Gfx.backDepth);
  ComposeGameScreen();
  device->EndScene();

  // A black frame marks leaving the game; the next one starts untinted.
  if (Screen.tint.r == 0.0f && Screen.tint.g == 0.0f && Screen.tint.b == 0.0f)
    Screen.tint = {255.0f, 255.0f, 255.0f};
  if (GetAsyncKeyState(VK_RETURN) == 0) enterKeyLatch = false;

  if (FAILED(device->Present(nullptr, nullptr, nullptr, nullptr)))
    device->Reset(&Gfx.presentParams);
}
