// The scene texture on screen, with the boards that are not tinted with it.
#pragma once

void ComposeGameScreen();
