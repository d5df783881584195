// Items: the roulette started by a pickup and the six timed effects.
#pragma once

void PickVanishingRock(); // step 22
void RunItems();          // step 25: sound cycle, turning, sign, roulette, timer, effect
