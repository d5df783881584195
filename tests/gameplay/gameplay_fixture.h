// In-process gameplay tests: a zeroed world with the start-up values, fake
// sound buffers logging what the update plays, injected keys, and a model of
// the C runtime's rand() to predict random draws.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "frontend/best_scores.h"
#include "frontend/mode_select.h"
#include "frontend/title.h"
#include "game/gate_event.h"
#include "game/round_reset.h"
#include "game/update_game.h"
#include "game/world_state.h"

constexpr int PASS_SOUND = SOUND_SLOT_COUNT;  // log slot of passSound

struct SoundCall {
  int frame, slot;
  std::string method;  // "Rewind", "Play", "Loop", "Stop"
};
extern std::vector<SoundCall> soundLog;
extern D3DXVECTOR3 passSoundAt;  // last position given to passSound3D
extern int passSoundMoves;

// The documented CRT sequence: state = state * 214013 + 2531011.
struct CrtRand {
  uint32_t state = 1;
  int Next() {
    state = state * 214013u + 2531011u;
    return (int)((state >> 16) & 0x7FFF);
  }
};

class Gameplay : public ::testing::Test {
 protected:
  void SetUp() override;
  void Step(int count = 1);  // updates; the frame counter tags the sound log
  template <typename F>
  int StepUntil(F done, int limit) {  // updates run until done (limit if never)
    for (int n = 1; n <= limit; ++n) {
      Step();
      if (done()) return n;
    }
    return limit;
  }
  void Hold(int vk);
  void Release(int vk);  // also forgets the press
  void Press(int vk);    // a step with the key up, then one with it down
  void StartFlying();    // a fresh round past its countdown
  void EmptyCourse();    // every slot gone
  std::vector<int> Restarts(int slot) const;  // frames of rewind + play once
  int CountCalls(int slot, const std::string& method) const;
  int frame = 0;
};
