// The effect layers and the ship, drawn into the scene texture.
#pragma once

void DrawGameWorld();
