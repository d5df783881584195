#include "game/update_game.h"

#include <cstdlib>

#include <d3dx9.h>
#include <dsound.h>

#include "app/app_state.h"
#include "game/gate_event.h"
#include "game/items.h"
#include "game/obstacles.h"
#include "game/round_flow.h"
#include "game/world_state.h"
#include "media/sprite_draw.h"
#include "media/render_values.h"

namespace {

D3DXVECTOR3 CameraOffset() {
  if (Round.mode == MODE_FREE_VIEW) return D3DXVECTOR3(10.0f, 10.0f, -40.0f);
  switch (Gate.kind) {
    case GATE_VIEW_BELOW: return D3DXVECTOR3(0.0f, -2.5f, -15.0f);
    case GATE_VIEW_RIGHT: return D3DXVECTOR3(10.0f, 2.5f, -15.0f);
    case GATE_VIEW_LEFT: return D3DXVECTOR3(-10.0f, 2.5f, -15.0f);
    default: return D3DXVECTOR3(0.0f, 2.5f, -8.0f - Camera.boostPullback);
  }
}

// Friction toward zero; at the playfield edge (outside gate events) any
// outward speed is dropped.
void ApplyFriction(float& velocity, float position) {
  if (velocity > 0.0f) {
    velocity -= 0.02f;
    if (position >= 57.0f && Gate.kind == GATE_NONE) velocity = 0.0f;
    if (velocity < 0.0f) velocity = 0.0f;
  }
  if (velocity < 0.0f) {
    velocity += 0.02f;
    if (position <= -57.0f && Gate.kind == GATE_NONE) velocity = 0.0f;
    if (velocity > 0.0f) velocity = 0.0f;
  }
}

void ApplyAutoDodge() {
  float m12 = Player.world._12;
  switch (Player.autoDodge) {
    case DODGE_RIGHT:
      Player.velX += 0.05f;
      if (Player.velX > 2.0f) Player.autoDodge = DODGE_NONE;
      if (m12 < -0.5f) Player.roll = 0.0f;
      else Player.roll -= 0.3f;
      break;
    case DODGE_LEFT:
      Player.velX -= 0.05f;
      if (Player.velX < -2.0f) Player.autoDodge = DODGE_NONE;
      if (m12 < 0.5f) Player.roll += 0.3f;
      else Player.roll = 0.0f;
      break;
    case DODGE_DOWN:
      Player.velY -= 0.05f;
      if (Player.velY < -2.0f) Player.autoDodge = DODGE_NONE;
      break;
    case DODGE_UP:
      Player.velY += 0.05f;
      if (Player.velY > 2.0f) Player.autoDodge = DODGE_NONE;
      break;
    default:
      break;
  }
}

void LevelShip() {
  float m12 = Player.world._12;
  bool waitingAtGate = Gate.state == GATE_WAITING && Gate.kind != GATE_NONE;
  if ((m12 < 0.0f && !arrowKeyLatch) || waitingAtGate) Player.roll += 0.18f;
  if ((m12 > 0.0f && !arrowKeyLatch) || waitingAtGate) Player.roll -= 0.18f;
}

void DecayRoll() {
  if (Player.roll > 0.0f) {
    Player.roll -= 0.09f;
    if (Player.roll < 0.0f) Player.roll = 0.0f;
  } else if (Player.roll < 0.0f) {
    Player.roll += 0.09f;
    if (Player.roll > 0.0f) Player.roll = 0.0f;
  }
}

}  // namespace

void PlaceTrailEmitters() {
  for (int n = 0; n < NOZZLE_COUNT; ++n) {
    D3DXMATRIX offset;
    D3DXMatrixTranslation(&offset, NOZZLE_OFFSETS[n].x, NOZZLE_OFFSETS[n].y, NOZZLE_OFFSETS[n].z);
    D3DXMatrixMultiply(&Player.trailEmitters[n], &offset, &Player.world);
  }
}

void PlaceCamera() {
  D3DXVECTOR3 offset = CameraOffset();
  D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
  D3DXVec3TransformCoord(&Player.pos, &origin, &Player.world);
  Graze.sparkPos = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  D3DXVec3TransformCoord(&Camera.eye, &offset, &Player.flightFrame);
}

void PlaceListener() {
  if (!Audio.listener) return;
  Audio.listener->SetPosition(Player.pos.x, Player.pos.y, Player.pos.z, DS3D_IMMEDIATE);
  Audio.listener->SetOrientation(0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, DS3D_IMMEDIATE);
}

void SteerShip() {
  if (Round.phase != PHASE_FLYING || Round.mode == MODE_FREE_VIEW || Gate.kind != GATE_NONE) return;
  float m12 = Player.world._12;
  float limit = Player.steerLimit;
  if (KeyDown(VK_RIGHT)) {
    arrowKeyLatch = true;
    Player.velX += 0.05f;
    if (Player.velX > limit) Player.velX = limit;
    if (m12 < -0.5f) Player.roll = 0.0f;
    else Player.roll -= 0.1f;
  } else {
    arrowKeyLatch = false;
  }
  if (KeyDown(VK_LEFT)) {
    arrowKeyLatch = true;
    Player.velX -= 0.05f;
    if (Player.velX < -limit) Player.velX = -limit;
    if (m12 < 0.5f) Player.roll += 0.1f;
    else Player.roll = 0.0f;
  }
  if (KeyDown(VK_UP)) {
    Player.velY += 0.05f;
    if (Player.velY > limit) Player.velY = limit;
  }
  if (KeyDown(VK_DOWN)) {
    Player.velY -= 0.05f;
    if (Player.velY < -limit) Player.velY = -limit;
  }
}

void RefillTrailHistory() {
  for (int n = 0; n < NOZZLE_COUNT; ++n)
    for (int i = 0; i < TRAIL_LENGTH; ++i) Player.trailHistory[n][i] = Player.trailEmitters[n];
}

void MoveShip() {
  if (Round.phase == PHASE_FLYING) {
    Player.velZ += 0.05f;
    if (Player.velZ > Player.cruiseSpeed) Player.velZ = Player.cruiseSpeed;
  }
  ApplyAutoDodge();

  ApplyFriction(Player.velY, Player.world._42);
  ApplyFriction(Player.velX, Player.world._41);
  if (Player.velZ > 0.0f) {
    Player.velZ -= 0.02f;
    if (Player.velZ < 0.0f) Player.velZ = 0.0f;
  }
  if (Player.velZ < 0.0f) {
    Player.velZ += 0.02f;
    if (Player.velZ > 0.0f) Player.velZ = 0.0f;
  }

  D3DXMATRIX step;
  D3DXMatrixTranslation(&step, Player.velX, Player.velY, Player.velZ);
  D3DXMatrixMultiply(&Player.flightFrame, &step, &Player.flightFrame);

  D3DXMATRIX bank;
  D3DXMatrixRotationZ(&bank, ToRadians(Player.roll));
  DecayRoll();
  D3DXMATRIX banked;
  D3DXMatrixMultiply(&banked, &bank, &Player.world);
  D3DXMatrixMultiply(&Player.world, &banked, &step);

  LevelShip();
  PlaceTrailEmitters();

  Player.glowAlpha -= 5;
  if (Player.glowAlpha <= 150) Player.glowAlpha = 255;

  for (int n = 0; n < NOZZLE_COUNT; ++n) {
    for (int i = TRAIL_LENGTH - 1; i >= 1; --i)
      Player.trailHistory[n][i] = Player.trailHistory[n][i - 1];
    Player.trailHistory[n][0] = Player.trailEmitters[n];
  }
}

void KeepStarsAroundShip() {
  float pz = Player.pos.z;
  for (int i = 0; i < STAR_COUNT; ++i) {
    Star& star = stars[i];
    star.pos.z -= 1.5f;
    if (star.pos.z <= pz - 5.0f || star.pos.z > pz + 300.0f) {
      star.pos.x = rand() % 200 + Player.pos.x - 100;
      star.pos.y = rand() % 200 + Player.pos.y - 100;
      star.pos.z = rand() % 200 + pz - 100;
    }
  }
}

void MakeSmokeParticle(float x, float y, float z) {
  for (int i = 0; i < PARTICLE_COUNT; ++i) {
    if (Particle.active[i]) continue;
    Particle.active[i] = true;
    Particle.pos[i] = D3DXVECTOR3(x, y, z);
    return;
  }
}

void AgeSmokeParticles() {
  for (int i = 0; i < PARTICLE_COUNT; ++i) {
    if (!Particle.active[i]) continue;
    Particle.scale[i] -= 0.03f;
    Particle.spin[i] += 6.0f;
    if (Particle.scale[i] < 0.0f) {
      // The slot's next puff starts at 0.0 to 0.9.
      Particle.scale[i] = (float)(rand() % 10) / 10.0f;
      Particle.active[i] = false;
      Particle.spin[i] = 0.0f;
    }
  }
}

void ShowScoreDigits() {
  if (Round.phase == PHASE_FLYING) SplitDigits((int)Round.score);
}

void UpdateGame() {
  PlaceCamera();              // 1, 2
  PlaceListener();            // 3
  SteerShip();                // 4
  ReadGateInput();            // 5
  ReadRoundKeys();            // 6
  Round.flashKind = FLASH_WHITE;  // 7
  TestGateEventStart();       // 8
  RefillTrailHistory();       // 9
  RunHandsOffBoost();         // 10
  if (Round.mode == MODE_NORMAL) {  // 11
    PassObstacles();
    Graze.active = false;
    TestCollisions();
  }
  PlaceForwardMarkers();      // 12
  PlaceCrashCamera();         // 13
  MoveShip();                 // 14
  CountExplosion();           // 15
  CountArrowErase();          // 16
  KeepStarsAroundShip();      // 17
  RunCountdown();             // 18
  ScoreDistance();            // 19
  MakeDashSmoke();            // 20
  ShrinkVanishingObstacles(); // 21
  PickVanishingRock();        // 22
  AgeSmokeParticles();        // 23
  FlashCaution();             // 24
  RunItems();                 // 25
  RunDash();                  // 26
  AdvanceGate();              // 27
  ShowScoreDigits();          // 28
}
