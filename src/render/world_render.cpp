#include "render/world_render.h"

void DrawGameWorld() {}
