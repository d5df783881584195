#include "render/compose.h"

void ComposeGameScreen() {}
