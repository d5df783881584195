#include "game/gate_event.h"

#include <cstdlib>

#include <windows.h>

#include "app/asset_catalogue.h"
#include "frontend/mode_select.h"
#include "game/round_reset.h"
#include "game/update_game.h"
#include "game/world_state.h"
#include "media/sound_play.h"

namespace {

// Arrow codes: 0 up, 1 right, 2 down, 3 left. Only the first key found down
// in the order right, left, up, down counts; -1 when none is down.
int FirstArrowDown() {
  if (KeyDown(VK_RIGHT)) return 1;
  if (KeyDown(VK_LEFT)) return 3;
  if (KeyDown(VK_UP)) return 0;
  if (KeyDown(VK_DOWN)) return 2;
  return -1;
}

void ConsumeArrow() {
  for (int i = 0; i < GATE_ARROW_COUNT - 1; ++i) Gate.arrows[i] = Gate.arrows[i + 1];
  Gate.arrows[GATE_ARROW_COUNT - 1] = ARROW_CONSUMED;
  Gate.erasing = true;
  Gate.eraseFrame = 0;
  PlaySoundOnce(sounds[SND_ARROW_ERASE]);
}

void StartNextGate() {
  if (Gate.index >= GATE_COUNT) SwitchStage();
  ReadyGate();
}

void ClearGate() {
  rocks[Gate.index].vanishing = true;
  Gate.state = GATE_CLEARED;
  Gate.index += 1;
  Player.autoDodge = DODGE_RIGHT + rand() % 4;
  Round.score += Round.level * 100;
  PlaySoundOnce(sounds[SND_SUCCESS]);
}

// The first GATE_COUNT slots become the gate stones, 200 behind the ship.
void PlaceGateStones() {
  for (int k = 0; k < GATE_COUNT; ++k) {
    Rock& rock = rocks[k];
    rock.pos = D3DXVECTOR3(Player.pos.x, Player.pos.y, Player.pos.z - 200.0f);
    RenewStone(rock);  // keeps the slot's radii
  }
}

}  // namespace

void ReadyGate() {
  Gate.state = GATE_WAITING;
  Gate.approach = 0.0f;
  Gate.arrowScale = 0.1f;
  Gate.arrowAlpha = 255;
  for (int i = 0; i < GATE_ARROW_COUNT; ++i) Gate.arrows[i] = rand() % 4;
}

void ReadGateInput() {
  if (Gate.kind == GATE_NONE || Gate.caution || Gate.state != GATE_WAITING ||
      Round.phase != PHASE_FLYING)
    return;
  int code = FirstArrowDown();
  if (code < 0) {
    Gate.keyLatch = false;
    return;
  }
  if (Gate.keyLatch) return;
  Gate.keyLatch = true;
  if (code == Gate.arrows[0]) {
    ConsumeArrow();
  } else {
    Gate.approach += 30.0f;
    PlaySoundOnce(sounds[SND_MISS]);
  }
}

void TestGateEventStart() {
  if (Player.pos.z >= Round.level * 3000.0f && Gate.kind == GATE_NONE && selectCursor == 0) SwitchStage();
}

void CountArrowErase() {
  if (!Gate.erasing) return;
  Gate.eraseFrame += 1;
  if (Gate.eraseFrame > 24) Gate.erasing = false;
}

void FlashCaution() {
  if (!Gate.caution) return;
  if (Screen.tint.g == 255.0f) PlaySoundOnce(sounds[SND_CAUTION]);
  Screen.tint.g -= 3.0f;
  Screen.tint.b -= 3.0f;
  if (Screen.tint.g <= 0.0f) {
    Screen.tint = TintColor{255.0f, 255.0f, 255.0f};
    Gate.cautionFlashes += 1;
    if (Gate.cautionFlashes > 2) {
      Gate.caution = false;
      PlaceGateStones();
    }
  }
}

void AdvanceGate() {
  if (Gate.kind == GATE_NONE || Gate.caution) return;
  if (Gate.state == GATE_WAITING)
    rocks[Gate.index].pos =
        D3DXVECTOR3(Player.pos.x, Player.pos.y, Player.pos.z + 250.0f - Gate.approach);
  if (Gate.state == GATE_CLEARED && Player.velX == 0.0f && Player.velY == 0.0f) StartNextGate();
  if (Gate.state == GATE_WAITING) {
    if (Gate.approach <= 210.0f) {
      if (Gate.approach == 0.0f) PlaySoundOnce(sounds[SND_ARROW_SHOW]);
      Gate.approach += Round.level / 3;
    } else {
      // Only a gate still waiting can fail: a gate cleared with its stone
      // already past 210 must go on to the next one, not stall the event.
      Gate.state = GATE_FAILED;
    }
  }
  if (Gate.arrows[0] == ARROW_CONSUMED && Gate.state == GATE_WAITING) ClearGate();
  if (Gate.state == GATE_CLEARED && Gate.arrowAlpha >= 10) {
    Gate.arrowScale += 0.1f;
    Gate.arrowAlpha -= 3;
  }
}
