// The title screen: full-screen picture, lettering, the two-entry menu.
#pragma once

extern int menuCursor;        // 0 start, 1 quit; the pause menu reuses it
extern float titlePulseScale; // highlight scale, also drives the star
extern int titlePulseAlpha;   // highlight alpha 0..255

void TitleInput();     // before BeginScene
void TitleDraw();      // inside the scene; ends with the fade step while fading
void TitleEnterRule(); // after Present: what Enter does on the title
