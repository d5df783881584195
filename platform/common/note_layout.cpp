#include "common/note_layout.h"

#include <cstring>

namespace corvane {
namespace {

constexpr int GLYPH_W = 5, GLYPH_H = 7;
constexpr int DOT = 3;     // glyph pixels are DOT x DOT pixels of the 800 x 600 picture
constexpr int MARGIN = 12;  // from the picture's top-right corner, in picture pixels
constexpr unsigned char BOX_GREY = 26, LETTER_GREY = 242;

struct Glyph {
  char c;
  const char* rows[GLYPH_H];
};

// Only the letters the notes use.
const Glyph GLYPHS[] = {
    {'0', {"01110", "10001", "10011", "10101", "11001", "10001", "01110"}},
    {'1', {"00100", "01100", "00100", "00100", "00100", "00100", "01110"}},
    {'2', {"01110", "10001", "00001", "00010", "00100", "01000", "11111"}},
    {'3', {"11110", "00001", "00001", "01110", "00001", "00001", "11110"}},
    {'4', {"00010", "00110", "01010", "10010", "11111", "00010", "00010"}},
    {'5', {"11111", "10000", "11110", "00001", "00001", "10001", "01110"}},
    {'6', {"00110", "01000", "10000", "11110", "10001", "10001", "01110"}},
    {'7', {"11111", "00001", "00010", "00100", "01000", "01000", "01000"}},
    {'8', {"01110", "10001", "10001", "01110", "10001", "10001", "01110"}},
    {'9', {"01110", "10001", "10001", "01111", "00001", "00010", "01100"}},
    {'C', {"01110", "10001", "10000", "10000", "10000", "10001", "01110"}},
    {'D', {"11110", "10001", "10001", "10001", "10001", "10001", "11110"}},
    {'E', {"11111", "10000", "10000", "11110", "10000", "10000", "11111"}},
    {'F', {"11111", "10000", "10000", "11110", "10000", "10000", "10000"}},
    {'I', {"01110", "00100", "00100", "00100", "00100", "00100", "01110"}},
    {'M', {"10001", "11011", "10101", "10101", "10001", "10001", "10001"}},
    {'N', {"10001", "11001", "10101", "10011", "10001", "10001", "10001"}},
    {'O', {"01110", "10001", "10001", "10001", "10001", "10001", "01110"}},
    {'S', {"01111", "10000", "10000", "01110", "00001", "00001", "11110"}},
    {'T', {"11111", "00100", "00100", "00100", "00100", "00100", "00100"}},
    {'U', {"10001", "10001", "10001", "10001", "10001", "10001", "01110"}},
};

const Glyph* Find(char c) {
  for (const Glyph& g : GLYPHS)
    if (g.c == c) return &g;
  return nullptr;  // a space, or a letter no note uses
}

}  // namespace

std::vector<NoteRect> NoteLayout(const char* text, int w, int h) {
  std::vector<NoteRect> rects;
  if (!text || !*text || w <= 0 || h <= 0) return rects;
  const double scale = (double)h / 600.0;
  int dot = (int)(DOT * scale + 0.5);
  if (dot < 1) dot = 1;
  const int n = (int)std::strlen(text);
  const int advance = (GLYPH_W + 1) * dot;
  const int boxW = n * advance + 3 * dot, boxH = (GLYPH_H + 4) * dot;
  const int margin = (int)(MARGIN * scale + 0.5);
  const int left = w - margin - boxW, top = margin;
  rects.push_back({left, top, boxW, boxH, BOX_GREY});
  for (int i = 0; i < n; ++i) {
    const Glyph* g = Find(text[i]);
    if (!g) continue;
    for (int row = 0; row < GLYPH_H; ++row)
      for (int col = 0; col < GLYPH_W; ++col)
        if (g->rows[row][col] == '1')
          rects.push_back({left + 2 * dot + i * advance + col * dot, top + 2 * dot + row * dot, dot, dot, LETTER_GREY});
  }
  return rects;
}

void PaintNote(const char* text, unsigned char* rgba, int w, int h) {
  for (const NoteRect& r : NoteLayout(text, w, h))
    for (int y = r.y < 0 ? 0 : r.y; y < r.y + r.h && y < h; ++y)
      for (int x = r.x < 0 ? 0 : r.x; x < r.x + r.w && x < w; ++x) {
        unsigned char* p = rgba + ((size_t)y * w + x) * 4;
        p[0] = p[1] = p[2] = r.grey;
        p[3] = 255;
      }
}

}  // namespace corvane
