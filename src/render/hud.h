// The in-game head-up display, drawn into the scene texture.
#pragma once

void DrawGameHud();
