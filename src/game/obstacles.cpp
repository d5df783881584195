#include "game/obstacles.h"

#include <cstdlib>

#include <d3dx9.h>

#include "app/asset_catalogue.h"
#include "frontend/mode_select.h"
#include "game/round_flow.h"
#include "game/update_game.h"
#include "game/world_state.h"
#include "media/sound_play.h"

namespace {

bool InPassingBox(const Rock& rock, const D3DXVECTOR3& ship) {
  return rock.pos.z >= ship.z - 10.0f && rock.pos.z <= ship.z + 70.0f &&
         rock.pos.x >= ship.x - 20.0f && rock.pos.x <= ship.x + 20.0f &&
         rock.pos.y >= ship.y - 20.0f && rock.pos.y <= ship.y + 20.0f && rock.kind != KIND_GONE;
}

bool InCollisionBox(const Rock& rock, const D3DXVECTOR3& ship) {
  return rock.pos.z >= ship.z - 10.0f && rock.pos.z <= ship.z + 20.0f &&
         rock.pos.x >= ship.x - 40.0f && rock.pos.x <= ship.x + 40.0f &&
         rock.pos.y >= ship.y - 40.0f && rock.pos.y <= ship.y + 40.0f;
}

// A slot far behind comes back ahead of the ship with a new kind.
void PlaceAhead(Rock& rock, float pz) {
  rock.pos.y = rand() % 120 - 60;
  rock.pos.x = rand() % 120 - 60;
  rock.pos.z = rand() % 200 + 300 + pz;
  int pick = rand() % 30;
  if (pick == 0) {
    rock.kind = KIND_ITEM;  // keeps the slot's old graze radius
  } else if (pick <= 25) {
    rock.kind = KIND_STONE;
    rock.grazeRadius = 17.0f;
  } else {
    rock.kind = KIND_DUST;
    rock.grazeRadius = 10.0f;
  }
  rock.scale = 1.0f;
  rock.spinZ = 0;
  rock.spinY = rand() % 360;
  rock.vanishing = false;
}

void GrazeRock(const D3DXVECTOR3& toRock) {
  Graze.sparkPos = D3DXVECTOR3(toRock.x / 5.0f, toRock.y / 5.0f, toRock.z / 5.0f);
  Graze.active = true;
  if (Round.score > 10.0f && !Player.crashed) Round.score -= 1.0f;
  Round.flashKind = FLASH_RED;
  PlaySoundOnce(sounds[SND_GRAZE]);
}

void TakeItem(Rock& rock) {
  Item.spinning = true;
  rock.kind = KIND_GONE;
  Item.spinCount = 0;
  PlaySoundOnward(sounds[SND_ITEM_GET]);
}

}  // namespace

void PassObstacles() {
  if (Round.mode != MODE_NORMAL || Round.phase != PHASE_FLYING) return;
  const D3DXVECTOR3 ship = Player.pos;
  for (int k = 0; k < ROCK_COUNT; ++k) {
    Rock& rock = rocks[k];
    if (InPassingBox(rock, ship)) PlaceSound(passSound3D, rock.pos);
    if (rock.pos.z <= ship.z - 50.0f && ship.z <= Round.level * 2500.0f && Gate.kind == GATE_NONE)
      PlaceAhead(rock, ship.z);
  }
}

void TestCollisions() {
  if (Round.phase == PHASE_CRASHED || Item.effect == EFFECT_GHOST || selectCursor != 0) return;
  const D3DXVECTOR3 ship = Player.pos;
  for (int k = 0; k < ROCK_COUNT; ++k) {
    Rock& rock = rocks[k];
    if (Gate.kind != GATE_NONE && k != Gate.index) continue;
    if (!InCollisionBox(rock, ship)) continue;
    if (rock.kind != KIND_STONE && rock.kind != KIND_DUST && rock.kind != KIND_ITEM) continue;

    D3DXVECTOR3 toRock = rock.pos - ship;
    float distanceSq = D3DXVec3LengthSq(&toRock);
    float grazeReach = Player.radius + rock.grazeRadius;
    if (distanceSq < grazeReach * grazeReach &&
        (rock.kind == KIND_STONE || rock.kind == KIND_DUST))
      GrazeRock(toRock);

    float hitReach = Player.radius + rock.hitRadius;
    if (distanceSq < hitReach * hitReach) {
      if (rock.kind == KIND_STONE) {
        CrashShip();
        return;
      }
      if (rock.kind == KIND_ITEM && !Item.spinning) TakeItem(rock);
    }
  }
}

void PlaceForwardMarkers() {
  if (Gate.kind != GATE_NONE) return;
  bool found[MARKER_COUNT] = {};
  int n = 0;
  const D3DXVECTOR3 ship = Player.pos;
  const D3DXVECTOR3 ahead(0.0f, 0.0f, 1.0f);
  for (int k = 0; k < ROCK_COUNT; ++k) {
    const Rock& rock = rocks[k];
    if (D3DXSphereBoundProbe(&rock.pos, rock.hitRadius, &ship, &ahead) &&
        rock.pos.z <= ship.z + 200.0f && rock.kind != KIND_GONE) {
      Probe.markers[n] = D3DXVECTOR3(ship.x, ship.y, rock.pos.z - 15.0f);
      found[n] = true;
      if (n < MARKER_COUNT - 1) n += 1;
    }
  }
  for (int i = 0; i < MARKER_COUNT; ++i)
    if (!found[i]) Probe.markers[i].z = -400.0f;
}

void ShrinkVanishingObstacles() {
  for (int k = 0; k < ROCK_COUNT; ++k) {
    Rock& rock = rocks[k];
    if (!rock.vanishing) continue;
    if (rock.scale < 0.1f) {
      rock.kind = KIND_GONE;
    } else {
      rock.scale -= 0.03f;
      rock.spinZ += 20;
    }
    float x = rock.pos.x + rand() % 17 - 8;
    float y = rock.pos.y + rand() % 17 - 8;
    float z = rock.pos.z + rand() % 30 - 15;
    MakeSmokeParticle(x, y, z);
  }
}
