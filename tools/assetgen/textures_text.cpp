// Lettering: the score digits and unit, the countdown numerals, the two word
// sheets and the pause board. Words are white with a faint cold glow on black
// so the game's additive tint colours them; every band keeps its ink inside.
#include <algorithm>
#include <cmath>

#include "text_baker.h"
#include "textures.h"

namespace {

struct Band {
  int left, top, right, bottom;
};

// White face fading to a cool light grey at the bottom, with a soft glow
// around it; all of it stays inside the band.
void DrawGlowWord(Image& img, const Band& band, const Mask& ink, float glow) {
  Mask halo = Blur(Dilate(ink, 1.0f), 3.0f);
  int h = band.bottom - band.top;
  for (int y = 0; y < ink.h; ++y)
    for (int x = 0; x < ink.w; ++x) {
      float k = At(ink, x, y), g = At(halo, x, y) * glow;
      float shade = Mix(1.0f, 0.8f, float(y) / h);
      Rgba face{shade * 0.97f, shade * 0.99f, shade, 1};
      Rgba c{0.55f * g, 0.7f * g, 1.0f * g, 1};
      At(img, band.left + x, band.top + y) = Mix(c, face, k);
    }
}

Mask Word(FontRole role, const std::string& text, const Band& band, float capPx, float tracking = 0.0f,
          float margin = 8.0f) {
  return BakeText(role, text, band.right - band.left, band.bottom - band.top, capPx, margin, tracking);
}

Image MakeDigitStrip() {
  Image img = MakeImage(384, 64, kMagenta);
  Mask opaque = MakeMask(384, 64);
  auto stamp = [&](const Mask& ink, int ox, float outline) {
    Mask rim = Dilate(ink, outline);
    for (int y = 0; y < ink.h; ++y)
      for (int x = 0; x < ink.w; ++x) {
        float k = At(ink, x, y);
        float shade = Mix(1.0f, 0.84f, y / 64.0f);
        At(img, ox + x, y) = Mix(Rgba{0.03f, 0.04f, 0.07f, 1}, Rgba{shade, shade, shade, 1}, k);
        At(opaque, ox + x, y) = At(rim, x, y);
      }
  };
  // One cap height and baseline for all ten, small enough that the widest
  // digit keeps clear of its cell's sides.
  for (int d = 0; d < 10; ++d)
    stamp(BakeTextOnBaseline(FONT_HEAVY, std::string(1, char('0' + d)), 32, 64, 34.0f, 49.0f), 32 * d, 1.6f);
  stamp(BakeText(FONT_TECH, "PTS", 64, 64, 17.0f, 5.0f, 1.5f), 320, 1.6f);
  KeyOutside(img, opaque);
  return img;
}

Image MakeCountdown() {
  Image img = MakeImage(384, 128);
  const char* numerals[] = {"3", "2", "1"};
  for (int k = 0; k < 3; ++k) {
    Band cell{128 * k, 0, 128 * k + 128, 128};
    Mask ink = Word(FONT_TITLE, numerals[k], cell, 92.0f, 0.0f, 14.0f);
    Mask halo = Blur(ink, 5.0f);
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        float a = At(ink, x, y), g = At(halo, x, y);
        float core = Clamp01(a);
        Rgba c{0.5f * g + core, 0.65f * g + core, 0.95f * g + core * 0.98f, 1};
        At(img, cell.left + x, y) = {std::min(c.r, 1.0f), std::min(c.g, 1.0f), std::min(c.b, 1.0f), 1};
      }
  }
  return img;
}

Image MakeMessageSheet() {
  Image img = MakeImage(512, 480);
  // The normal run's description: its name over a one-line brief.
  Band head{0, 0, 512, 48}, sub{0, 46, 512, 80};
  DrawGlowWord(img, head, Word(FONT_HEAVY, "NORMAL RUN", head, 30.0f, 3.0f, 6.0f), 0.45f);
  // The screen lays a 10 % larger blue copy under it, which shifts letters
  // far from the centre by a letter's width: a short, heavy line survives.
  DrawGlowWord(img, sub, Word(FONT_HEAVY, "DODGE ROCKS, OPEN GATES", sub, 17.0f, 1.5f, 4.0f), 0.0f);
  Band best{0, 160, 512, 240}, back{0, 240, 512, 320}, footer{0, 320, 512, 400}, over{0, 400, 512, 480};
  DrawGlowWord(img, best, Word(FONT_HEAVY, "BEST SCORES", best, 40.0f, 3.0f), 0.45f);
  DrawGlowWord(img, back, Word(FONT_HEAVY, "BACK TO TITLE", back, 36.0f, 3.0f), 0.45f);
  DrawGlowWord(img, footer, Word(FONT_HEAVY, "PRESS ENTER", footer, 44.0f, 4.0f), 0.35f);
  DrawGlowWord(img, over, Word(FONT_TITLE, "GAME OVER", over, 52.0f, 4.0f), 0.5f);
  return img;
}

// Warning triangle with an exclamation mark, as a coverage mask.
Mask HazardTriangle(int w, int h, float cx, float cy, float size) {
  return ShapeMask(w, h, [=](float x, float y) {
    float outer = SdPolygon(x, y, {cx, cy - size, cx + size * 1.1f, cy + size * 0.85f, cx - size * 1.1f,
                                   cy + size * 0.85f});
    float inner = SdPolygon(x, y, {cx, cy - size * 0.55f, cx + size * 0.72f, cy + size * 0.62f,
                                   cx - size * 0.72f, cy + size * 0.62f});
    float bar = SdSegment(x, y, cx, cy - size * 0.25f, cx, cy + size * 0.18f, size * 0.09f);
    float dot = SdCircle(x, y, cx, cy + size * 0.42f, size * 0.1f);
    float ring = std::max(outer, -inner);
    return std::min(ring, std::min(bar, dot));
  });
}

// A title menu entry: the word centred in its 512 x 64 row, so the pulse the
// title grows from the row's centre grows around it, between two rules that
// run out to the row's ends, where the star cursor stands just outside.
Mask MenuEntry(const std::string& text) {
  Mask word = BakeText(FONT_HEAVY, text, 512, 64, 34.0f, 8.0f, 5.0f);
  int inkLeft = 512, inkRight = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 512; ++x)
      if (At(word, x, y) > 0.1f) inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
  float gapL = float(inkLeft - 18), gapR = float(inkRight + 18);
  Mask rules = ShapeMask(512, 64, [=](float x, float y) {
    float left = SdSegment(x, y, 5.0f, 32.0f, gapL, 32.0f, 1.1f);
    float right = SdSegment(x, y, gapR, 32.0f, 507.0f, 32.0f, 1.1f);
    float tips = std::min(SdCircle(x, y, gapL, 32.0f, 3.0f), SdCircle(x, y, gapR, 32.0f, 3.0f));
    return std::min({left, right, tips});
  });
  return Union(word, rules);
}

Image MakeWordSheet() {
  Image img = MakeImage(512, 494);
  Band start{0, 0, 512, 64}, exit{0, 64, 512, 128};
  DrawGlowWord(img, start, MenuEntry("START"), 0.4f);
  DrawGlowWord(img, exit, MenuEntry("EXIT"), 0.4f);
  Band heading{0, 192, 512, 256}, title{0, 270, 512, 345}, caution{0, 350, 512, 430},
      cleared{0, 430, 512, 494};
  DrawGlowWord(img, heading, Word(FONT_HEAVY, "SELECT MODE", heading, 34.0f, 4.0f), 0.45f);
  // At 1.8x the title must fit the 800-pixel screen: keep its ink under 420.
  DrawGlowWord(img, title, BakeText(FONT_TITLE, "CORVANE", 512, 75, 56.0f, 46.0f, 7.0f), 0.55f);
  Mask word = Word(FONT_TITLE, "CAUTION", {0, 0, 360, 80}, 50.0f, 5.0f);
  Mask signs = Union(HazardTriangle(512, 80, 48.0f, 42.0f, 26.0f), HazardTriangle(512, 80, 464.0f, 42.0f, 26.0f));
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 360; ++x) At(signs, x + 76, y) = std::max(At(signs, x + 76, y), At(word, x, y));
  DrawGlowWord(img, caution, signs, 0.5f);
  DrawGlowWord(img, cleared, Word(FONT_TITLE, "GATE CLEAR", cleared, 40.0f, 4.0f), 0.5f);
  return img;
}

Image MakePauseBoard() {
  Image img = MakeImage(256, 64);
  DrawGlowWord(img, {0, 0, 256, 32}, BakeText(FONT_TITLE, "PAUSE", 256, 32, 22.0f, 3.0f, 5.0f), 0.4f);
  // Lower half, drawn at 2x: the star cursor, about 20 pixels of the board
  // across, is centred at x = 28 and x = 138, so CONTINUE runs from 40 to
  // well short of 128 and QUIT starts at 150.
  Mask lower = Union(BakeTextLeft(FONT_HEAVY, "CONTINUE", 256, 30, 11.0f, 40.0f, 0.0f),
                     BakeTextLeft(FONT_HEAVY, "QUIT", 256, 30, 11.0f, 150.0f, 0.0f));
  DrawGlowWord(img, {0, 32, 256, 62}, lower, 0.3f);
  return img;
}

}  // namespace

void MakeTextTextures(std::vector<TextureFile>& out) {
  out.push_back({"bmp/123.bmp", MakeDigitStrip()});
  out.push_back({"bmp/321.bmp", MakeCountdown()});
  out.push_back({"bmp/moji2.bmp", MakeMessageSheet()});
  out.push_back({"bmp/opmoji.bmp", MakeWordSheet()});
  out.push_back({"bmp/return.bmp", MakePauseBoard()});
}
