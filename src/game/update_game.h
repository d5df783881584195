// The per-frame game update, a fixed sequence of 28 steps, and the steps that
// fly the ship.
#pragma once

#include <windows.h>

void UpdateGame();

// Every gameplay key test: down now, or pressed since the last poll.
inline bool KeyDown(int virtualKey) { return GetAsyncKeyState(virtualKey) != 0; }

void PlaceCamera();          // steps 1 and 2: eye offset, ship position, spark reset
void PlaceListener();        // step 3
void SteerShip();            // step 4
void RefillTrailHistory();   // step 9
void MoveShip();             // step 14
void KeepStarsAroundShip();   // step 17
void AgeSmokeParticles();    // step 23
void ShowScoreDigits();      // step 28

// A new smoke puff in the first free particle slot; none when all are busy.
// Its scale and spin are what the slot last held.
void MakeSmokeParticle(float x, float y, float z);

// The ship's three nozzles in ship space, turned into world matrices.
void PlaceTrailEmitters();
