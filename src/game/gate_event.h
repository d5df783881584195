// The arrow-gate event that ends each stage: its start, the caution flashes,
// the typed arrows and the approach of the seven gate stones.
#pragma once

void ReadGateInput();      // UpdateGame step 5
void TestGateEventStart(); // UpdateGame step 8
void CountArrowErase();    // UpdateGame step 16
void FlashCaution();       // UpdateGame step 24
void AdvanceGate();        // UpdateGame step 27

// The current gate waiting with five fresh arrows, its stone not yet moving.
void ReadyGate();

constexpr int ARROW_CONSUMED = 5;
