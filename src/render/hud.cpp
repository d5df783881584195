#include "render/hud.h"

void DrawGameHud() {}
