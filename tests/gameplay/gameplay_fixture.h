// In-process gameplay tests: a zeroed world with the start-up values, fake
// sound buffers that log the calls the update makes, injected key states, and
// an independent model of the C runtime's rand() to predict random draws.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

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
  int frame;
  int slot;
  std::string method;  // "Rewind", "Play", "Loop", "Stop"
};

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
  void TearDown() override;

  // One update; the frame counter tags the sound log.
  void Step(int count = 1);
  // Updates until the predicate holds; returns how many ran (limit on failure).
  template <typename F>
  int StepUntil(F done, int limit) {
    for (int n = 1; n <= limit; ++n) {
      Step();
      if (done()) return n;
    }
    return limit;
  }

  void Hold(int vk);
  void Release(int vk);

  // A round already flying at the start position, as after the countdown.
  void StartFlying();
  // Everything else out of the way: every slot gone.
  void EmptyCourse();

  // Frames on which the slot was restarted (rewind then play once).
  std::vector<int> Restarts(int slot) const;
  int CountCalls(int slot, const std::string& method) const;

  int frame = 0;
};

// What the fakes saw since SetUp.
extern std::vector<SoundCall> soundLog;
extern D3DXVECTOR3 passSoundAt;  // last position given to passSound3D
extern int passSoundMoves;
