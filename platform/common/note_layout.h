// Where the comfort note's box and letters go: blocky letters made of
// rectangles in the picture's top-right corner, so that each build can draw
// them with plain rectangle fills (a scissored clear, a device Clear, or
// pixels written into a capture).
#pragma once

#include <vector>

namespace corvane {

struct NoteRect {
  int x, y, w, h;  // from the picture's top-left corner
  unsigned char grey;
};

// The rectangles for `text` in a picture w x h pixels (the game's 800 x 600
// or a whole window), the box first; none for an empty or missing text.
std::vector<NoteRect> NoteLayout(const char* text, int w, int h);

// Paints the note into RGBA pixels, rows top first.
void PaintNote(const char* text, unsigned char* rgba, int w, int h);

}  // namespace corvane
