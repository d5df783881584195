// The obstacle pool at work: recycling, the passing sound, collisions and
// grazes, the forward warning markers, and slots shrinking away.
#pragma once

void PassObstacles();            // passing sound and recycling (step 11)
void TestCollisions();           // graze, crash, item pickup (step 11)
void PlaceForwardMarkers();      // step 12
void ShrinkVanishingObstacles(); // step 21
