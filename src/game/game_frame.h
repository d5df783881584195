// One frame of the game scene: update, world into the scene texture, composite.
#pragma once

void GameFrame();
// Everything after the update: draws the world and the screen from the game
// state, presents, and does the frame's tint and Enter bookkeeping.
void DrawGameFrame();
