// The mode-select screen: star field, heading, three options, description.
#pragma once

extern int selectCursor;     // 0 normal run, 2 free view, 3 back to the title
extern float selectZoom;     // description scale, 0 after every move
extern float selectScale[4]; // icon scale by option number
extern int selectAlpha[4];   // icon alpha by option number

void ModeSelectInput();
void ModeSelectDraw();
void ModeSelectEnterRule();
