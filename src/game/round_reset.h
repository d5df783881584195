// Putting the game world into a known starting state.
#pragma once

void ResetRound();  // a new round; called by the fade into the game
void SwitchStage(); // starts or ends an arrow-gate event

struct Rock;
// A stone's look and kind as new (scale, spin, not vanishing); position and
// radii stay as they are.
void RenewStone(Rock& rock);
