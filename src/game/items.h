// Items: the roulette started by a pickup and the six timed effects.
#pragma once

void PickVanishingRock(); // UpdateGame step 22
void RunItems();          // UpdateGame step 25: sound cycle, turning, sign, roulette, timer, effect
