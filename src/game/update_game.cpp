#include "game/update_game.h"

void UpdateGame() {}
