// The obstacle pool at work: recycling, the passing sound, collisions and
// grazes, the forward warning markers, and slots shrinking away.
#pragma once

void PassObstacles();            // passing sound and recycling (UpdateGame step 11)
void TestCollisions();           // graze, crash, item pickup (UpdateGame step 11)
void PlaceForwardMarkers();      // UpdateGame step 12
void ShrinkVanishingObstacles(); // UpdateGame step 21
