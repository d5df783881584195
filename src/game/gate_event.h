// The arrow-gate event that ends each stage: its start, the caution flashes,
// the typed arrows and the approach of the seven gate stones.
#pragma once

void ReadGateInput();      // step 5
void TestGateEventStart(); // step 8
void CountArrowErase();    // step 16
void FlashCaution();       // step 24
void AdvanceGate();        // step 27

constexpr int ARROW_CONSUMED = 5;
