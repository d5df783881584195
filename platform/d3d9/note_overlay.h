// Draws the comfort note (note_layout.h) into the window after the game's
// picture, with scissored clears; the back buffer (and so every capture
// unless asked) never holds it.
#pragma once

namespace corvane::d3d9 {

// The picture occupies x, y, w, h of the drawable (GL's bottom-left origin).
// Leaves the GL state as it found it.
void DrawNoteOverlay(const char* text, int x, int y, int w, int h);

}  // namespace corvane::d3d9
