#include "game/round_reset.h"

void ResetRound() {}
void SwitchStage() {}
