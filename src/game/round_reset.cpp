#include "game/round_reset.h"

#include <cstdlib>

#include <d3dx9.h>

#include "app/asset_catalogue.h"
#include "frontend/mode_select.h"
#include "frontend/title.h"
#include "game/gate_event.h"
#include "game/update_game.h"
#include "game/world_state.h"
#include "media/sound_play.h"
#include "media/sprite_draw.h"

void RenewStone(Rock& rock) {
  rock.scale = 1.0f;
  rock.spinZ = 0;
  rock.spinY = rand() % 360;
  rock.kind = KIND_STONE;
  rock.vanishing = false;
}

namespace {

// A stone as every slot starts out: the caller has set its position.
void MakeFreshStone(Rock& rock) {
  RenewStone(rock);
  rock.hitRadius = 13.0f;
  rock.grazeRadius = 17.0f;
}

void ScatterStones() {
  for (int k = 0; k < ROCK_COUNT; ++k) {
    Rock& rock = rocks[k];
    rock.pos.x = rand() % 120 - 60;
    rock.pos.y = rand() % 120 - 60;
    rock.pos.z = rand() % 300 + 200;
    MakeFreshStone(rock);
  }
}

void ClearItem() {
  Item.spinning = false;
  Item.effect = EFFECT_NONE;
  Item.reelOffset = 0;
  Item.timer = 200.0f;
  Item.spinCount = 0;
}

// Ship back at z = -60 with no bank; keeps world coordinates small.
void PlaceShipAtStart() {
  D3DXMatrixTranslation(&Player.world, 0.0f, 0.0f, -60.0f);
  Player.flightFrame = Player.world;
}

}  // namespace

void ResetRound() {
  if (selectCursor == 0) ScatterStones();
  for (int i = 0; i < 20; ++i) DigitBuffer.digits[i] = 0;

  ClearItem();
  Item.speedSignY = -2.0f;
  Item.flashTimer = 20.0f;
  Item.flashX = rand() % 601 + 100;
  Item.flashY = rand() % 401 + 100;

  Round.countdownTimer = 9.0f;
  Round.phase = PHASE_COUNTDOWN;
  Round.introOffset = 60.0f;
  Round.mode = MODE_NORMAL;
  Round.score = 0.0f;

  Graze.sparkSize = 4.0f;
  Screen.alpha = 255;
  Item.vanishTimer = 0.0f;
  Item.vanishEffect = false;
  Item.vanishArmed = false;
  Player.dashSpin = 0.0f;
  Player.crashed = false;

  Camera.eye = D3DXVECTOR3(0.0f, 4.0f, -9.0f);

  menuCursor = 0;
  Round.explosionFrame = 0;
  Gate.kind = GATE_NONE;
  Round.level = 1.0f;

  PlaceSound(passSound3D, rocks[0].pos);
  Player.cruiseSpeed = Round.level;

  PlaceShipAtStart();
  D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
  D3DXVec3TransformCoord(&Player.pos, &origin, &Player.world);
  PlaceTrailEmitters();
}

void SwitchStage() {
  PlaceShipAtStart();
  D3DXVec3TransformCoord(&Player.pos, &Player.pos, &Player.world);
  PlaceTrailEmitters();

  if (Gate.kind != GATE_NONE) {
    Gate.kind = GATE_NONE;
    Round.level += 0.5f;
    Player.cruiseSpeed = Round.level;
    for (int k = 0; k < ROCK_COUNT; ++k) {
      rocks[k].pos.z = rand() % 300 + 200;
      MakeFreshStone(rocks[k]);
    }
  } else {
    Gate.kind = GATE_VIEW_BELOW + rand() % 3;
    Gate.cautionFlashes = 0;
    Gate.caution = true;
    Player.cruiseSpeed = 2.0f;
    Gate.index = 0;
    ReadyGate();
  }

  for (int k = 0; k < GATE_COUNT; ++k) rocks[k].vanishing = false;
  Player.velZ = 0.0f;
  Player.boostPhase = 0.0f;
  Player.handsOffFrames = 0;
  ClearItem();
}
