// The per-frame game update, a fixed sequence of steps.
#pragma once

void UpdateGame();
