// One frame of the game scene: update, world into the scene texture, composite.
#pragma once

void GameFrame();
