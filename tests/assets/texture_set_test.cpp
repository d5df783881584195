// The generator's pictures as the game will load them: names, sizes and
// formats, colour-key hygiene, that every rectangle the game draws holds ink
// and keeps it inside.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/asset_table.h"
#include "support/generated_data.h"

#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

struct Picture {
  int w = 0, h = 0;
  std::vector<unsigned char> rgba;
  const unsigned char* At(int x, int y) const { return &rgba[(size_t(y) * w + x) * 4]; }
  int Luma(int x, int y) const {
    const unsigned char* p = At(x, y);
    return std::max({int(p[0]), int(p[1]), int(p[2])});
  }
  bool IsMagenta(int x, int y) const {
    const unsigned char* p = At(x, y);
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
  }
  bool IsBlack(int x, int y) const {
    const unsigned char* p = At(x, y);
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
  }
};

struct Rect {
  int l, t, r, b;
};

class TextureSet : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Generated().first.empty()) GTEST_FAIL() << Generated().problem;
  }
  static Picture Load(const std::string& name) {
    Picture pic;
    int n = 0;
    std::string path = (Generated().first / "bmp" / name).string();
    unsigned char* data = stbi_load(path.c_str(), &pic.w, &pic.h, &n, 4);
    if (!data) {
      ADD_FAILURE() << "cannot load " << path;
      return pic;
    }
    pic.rgba.assign(data, data + size_t(pic.w) * pic.h * 4);
    stbi_image_free(data);
    return pic;
  }
  // Pixels brighter than the threshold inside a rectangle.
  static int Ink(const Picture& p, Rect r, int threshold = 96) {
    int count = 0;
    for (int y = r.t; y < r.b; ++y)
      for (int x = r.l; x < r.r; ++x)
        if (!p.IsMagenta(x, y) && p.Luma(x, y) > threshold) ++count;
    return count;
  }
  static double MeanLuma(const Picture& p, Rect r) {
    double sum = 0;
    for (int y = r.t; y < r.b; ++y)
      for (int x = r.l; x < r.r; ++x) sum += p.Luma(x, y);
    return sum / (double(r.r - r.l) * (r.b - r.t));
  }
  // Ink stays off the band's outer rows, so nothing leaks into a neighbour.
  static void ExpectBandHoldsInk(const Picture& p, Rect band, const char* what) {
    EXPECT_GT(Ink(p, band), 40) << what << " has no ink";
    EXPECT_EQ(Ink(p, {band.l, band.t, band.r, band.t + 2}, 8), 0) << what << " touches its top edge";
    EXPECT_EQ(Ink(p, {band.l, band.b - 2, band.r, band.b}, 8), 0) << what << " touches its bottom edge";
  }
};

// A row's file name below bmp/.
std::string BmpName(const TextureRow& row) { return row.fileName + 4; }

bool IsPng(const std::string& name) { return name.size() > 4 && name.substr(name.size() - 4) == ".png"; }

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(b[at + i]) << (8 * i);
  return v;
}

TEST_F(TextureSet, EveryCatalogueFileIsA24BitBottomUpBmpOfItsSize) {
  for (const TextureRow& entry : TEXTURE_TABLE) {
    const std::string name = BmpName(entry);
    const int w = int(entry.width), h = int(entry.height);
    const std::vector<uint8_t> b = ReadBytes((Generated().first / "bmp" / name).string());
    if (IsPng(name)) {
      Picture picture = Load(name);
      EXPECT_EQ(picture.w, w) << name;
      EXPECT_EQ(picture.h, h) << name;
      ASSERT_GE(b.size(), 26u) << name;
      EXPECT_EQ(b[25], 6) << name << ": PNG must be RGBA (colour type 6)";
      continue;
    }
    ASSERT_GE(b.size(), 54u) << name;
    EXPECT_EQ(b[0], 'B') << name;
    EXPECT_EQ(b[1], 'M') << name;
    EXPECT_EQ(Le(b, 2, 4), b.size()) << name << " file size field";
    EXPECT_EQ(Le(b, 14, 4), 40u) << name << " info header";
    EXPECT_EQ(int32_t(Le(b, 18, 4)), w) << name;
    EXPECT_EQ(int32_t(Le(b, 22, 4)), h) << name << " (positive height: bottom-up)";
    EXPECT_EQ(Le(b, 28, 2), 24u) << name;
    EXPECT_EQ(Le(b, 30, 4), 0u) << name << " BI_RGB";
    size_t row = (size_t(w) * 3 + 3) / 4 * 4;
    EXPECT_EQ(b.size(), Le(b, 10, 4) + row * h) << name << " pixel data";
  }
}

TEST_F(TextureSet, MagentaKeyOnlyWhereSeeThroughAndNoNearMagentaFringe) {
  for (const TextureRow& entry : TEXTURE_TABLE) {
    if (entry.colorKey != KEY_MAGENTA) continue;
    const std::string name = BmpName(entry);
    Picture p = Load(name);
    int keyed = 0;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) {
        if (p.IsMagenta(x, y)) {
          ++keyed;
          continue;
        }
        const unsigned char* c = p.At(x, y);
        int dist = std::abs(255 - c[0]) + c[1] + std::abs(255 - c[2]);
        EXPECT_GT(dist, 90) << name << " near-magenta pixel at " << x << "," << y;
      }
    EXPECT_GT(keyed, p.w * p.h / 10) << name << " has almost no see-through area";
  }
  Picture gauge = Load("ene4.bmp"), frame = Load("frame.bmp"), modes = Load("select.bmp");
  // The item bar shows through (0,8)-(200,58); the reel and approach bar through the frame.
  for (int y = 12; y < 55; ++y)
    for (int x = 6; x < 196; ++x) ASSERT_TRUE(gauge.IsMagenta(x, y)) << "gauge window at " << x << "," << y;
  for (int y = 3; y < 77; ++y)
    for (int x = 3; x < 217; ++x) ASSERT_TRUE(frame.IsMagenta(x, y)) << "frame interior at " << x << "," << y;
  EXPECT_FALSE(frame.IsMagenta(0, 40));
  EXPECT_FALSE(frame.IsMagenta(110, 0));
  EXPECT_GT(Ink(gauge, {0, 0, 220, 8}) + Ink(gauge, {0, 58, 220, 80}), 50) << "gauge border and label";
  EXPECT_EQ(Ink(modes, {0, 0, 128, 128}, -1), 0) << "the unused select cell stays see-through";
  for (int cell = 1; cell < 4; ++cell) {
    EXPECT_GT(Ink(modes, {128 * cell + 32, 32, 128 * cell + 96, 96}, 60), 200) << "mode icon " << cell;
    EXPECT_TRUE(modes.IsMagenta(128 * cell + 1, 1)) << "mode icon " << cell << " corner";
  }
}

TEST_F(TextureSet, BlackKeyedArtHasNoHolesAndSeeThroughSurroundings) {
  for (const TextureRow& entry : TEXTURE_TABLE) {
    if (entry.colorKey != KEY_BLACK) continue;
    const std::string name = BmpName(entry);
    Picture p = Load(name);
    EXPECT_TRUE(p.IsBlack(0, 0)) << name;
    for (int y = 1; y + 1 < p.h; ++y)
      for (int x = 1; x + 1 < p.w; ++x) {
        if (!p.IsBlack(x, y)) continue;
        int lit = (p.Luma(x - 1, y) > 40) + (p.Luma(x + 1, y) > 40) + (p.Luma(x, y - 1) > 40) +
                  (p.Luma(x, y + 1) > 40);
        EXPECT_LT(lit, 4) << name << " pinhole at " << x << "," << y;
      }
  }
  Picture trophy = Load("trophy.bmp"), arrows = Load("vec.bmp");
  for (int y = 20; y < 80; y += 5) EXPECT_FALSE(trophy.IsBlack(50, y)) << "trophy body at y " << y;
  for (int y = 8; y < 56; ++y) EXPECT_FALSE(arrows.IsBlack(288, y)) << "arrow plate at y " << y;
}

TEST_F(TextureSet, DigitNumeralAndArrowCellsHoldDistinctInkInsideTheirCells) {
  Picture digits = Load("123.bmp"), numerals = Load("321.bmp"), arrows = Load("vec.bmp");
  auto cellsDiffer = [](const Picture& p, int size, int count, int w) {
    for (int a = 0; a < count; ++a)
      for (int b = a + 1; b < count; ++b) {
        int diff = 0;
        for (int y = 0; y < p.h; ++y)
          for (int x = 0; x < w; ++x) diff += std::abs(p.Luma(a * size + x, y) - p.Luma(b * size + x, y)) > 64;
        EXPECT_GT(diff, 20) << "cells " << a << " and " << b << " look alike";
      }
  };
  for (int d = 0; d < 10; ++d) {
    EXPECT_GT(Ink(digits, {32 * d, 0, 32 * d + 32, 64}), 60) << "digit " << d;
    EXPECT_EQ(Ink(digits, {32 * d, 0, 32 * d + 1, 64}, 40), 0) << "digit " << d << " left edge";
    EXPECT_EQ(Ink(digits, {32 * d + 31, 0, 32 * d + 32, 64}, 40), 0) << "digit " << d << " right edge";
    // Scores mix every digit: one height and one baseline (round ones overshoot a pixel).
    int top = 64, bottom = -1;
    for (int y = 0; y < 64; ++y)
      if (Ink(digits, {32 * d, y, 32 * d + 32, y + 1}, 128) > 0) top = std::min(top, y), bottom = y;
    EXPECT_NEAR(bottom, 48, 1) << "digit " << d << " baseline";
    EXPECT_NEAR(bottom - top, 33, 2) << "digit " << d << " height";
  }
  cellsDiffer(digits, 32, 10, 32);
  EXPECT_GT(Ink(digits, {320, 0, 384, 64}), 30) << "unit label";
  for (int k = 0; k < 3; ++k) {
    EXPECT_GT(Ink(numerals, {128 * k, 0, 128 * k + 128, 128}), 800) << "numeral " << k;
    EXPECT_EQ(Ink(numerals, {128 * k, 0, 128 * k + 2, 128}, 8) + Ink(numerals, {128 * k + 126, 0, 128 * k + 128, 128}, 8) +
                  Ink(numerals, {128 * k, 0, 128 * k + 128, 2}, 8) + Ink(numerals, {128 * k, 126, 128 * k + 128, 128}, 8),
              0)
        << "numeral " << k << " reaches its cell edge";
  }
  cellsDiffer(numerals, 128, 3, 128);
  // Arrow codes 0 up, 1 right, 2 down, 3 left: the head is the widest part,
  // so the half of the cell the arrow points into holds the widest ink span.
  for (int a = 0; a < 4; ++a) {
    auto span = [&](int line, bool rows) {
      int n = 0;
      for (int i = 0; i < 64; ++i) n += rows ? arrows.Luma(64 * a + i, line) > 96 : arrows.Luma(64 * a + line, i) > 96;
      return n;
    };
    bool vertical = a == 0 || a == 2;
    int lowHalf = 0, highHalf = 0;
    for (int line = 0; line < 64; ++line) (line < 32 ? lowHalf : highHalf) = std::max(line < 32 ? lowHalf : highHalf, span(line, vertical));
    bool pointsLow = a == 0 || a == 3;
    EXPECT_GT(pointsLow ? lowHalf : highHalf, 2 * (pointsLow ? highHalf : lowHalf)) << "arrow " << a << " points the wrong way";
    EXPECT_EQ(Ink(arrows, {64 * a, 0, 64 * a + 64, 1}, 8) + Ink(arrows, {64 * a, 63, 64 * a + 64, 64}, 8), 0)
        << "arrow " << a << " touches its cell edge";
  }
}

TEST_F(TextureSet, TextBandsHoldInkAndKeepItInside) {
  Picture moji = Load("moji2.bmp"), op = Load("opmoji.bmp"), pause = Load("return.bmp");
  ExpectBandHoldsInk(moji, {0, 0, 512, 80}, "normal run description");
  EXPECT_EQ(Ink(moji, {0, 80, 512, 160}, 8), 0) << "unused band";
  ExpectBandHoldsInk(moji, {0, 160, 512, 240}, "best scores");
  ExpectBandHoldsInk(moji, {0, 240, 512, 320}, "back to title");
  ExpectBandHoldsInk(moji, {0, 320, 512, 400}, "footer");
  ExpectBandHoldsInk(moji, {0, 400, 512, 480}, "game over");
  ExpectBandHoldsInk(op, {0, 0, 512, 64}, "start");
  ExpectBandHoldsInk(op, {0, 64, 512, 128}, "exit");
  ExpectBandHoldsInk(op, {0, 192, 512, 256}, "heading");
  ExpectBandHoldsInk(op, {0, 270, 512, 345}, "title");
  ExpectBandHoldsInk(op, {0, 350, 512, 430}, "caution");
  ExpectBandHoldsInk(op, {0, 430, 512, 494}, "gate cleared");
  EXPECT_EQ(Ink(op, {0, 128, 512, 192}, 8) + Ink(op, {0, 256, 512, 270}, 8) + Ink(op, {0, 345, 512, 350}, 8), 0)
      << "gaps between bands";
  // The title is drawn at 1.8x on an 800-pixel screen.
  int first = 512, last = -1;
  for (int x = 0; x < 512; ++x)
    if (Ink(op, {x, 270, x + 1, 345}, 8) > 0) first = std::min(first, x), last = x;
  EXPECT_LE((last - first + 1) * 1.8, 800.0) << "title too wide";
  // Pause board: title in the upper half; the words start near x 40 and 150.
  EXPECT_GT(Ink(pause, {0, 0, 256, 32}), 100);
  std::vector<int> starts;
  bool inWord = false;
  int gap = 0;
  for (int x = 0; x < 256; ++x) {
    bool ink = Ink(pause, {x, 34, x + 1, 64}, 60) > 0;
    if (ink && !inWord && (starts.empty() || gap > 8)) starts.push_back(x);
    gap = ink ? 0 : gap + 1;
    inWord = ink || (inWord && gap <= 8);
  }
  ASSERT_EQ(starts.size(), 2u) << "two pause menu words";
  EXPECT_NEAR(starts[0], 40, 4);
  EXPECT_NEAR(starts[1], 150, 4);
}

TEST_F(TextureSet, LightSpritesFadeToBlackAtTheirEdgesAndSheetsStayInTheirCells) {
  for (const char* name : {"Star.bmp", "effect1.bmp", "effect2.bmp", "Smoke2.bmp", "SStar.bmp", "back1.bmp",
                           "back2.bmp", "back3.bmp", "back4.bmp", "back6.bmp", "earth.bmp"}) {
    Picture p = Load(name);
    int edge = 0;
    for (int x = 0; x < p.w; ++x) edge = std::max({edge, p.Luma(x, 0), p.Luma(x, p.h - 1)});
    for (int y = 0; y < p.h; ++y) edge = std::max({edge, p.Luma(0, y), p.Luma(p.w - 1, y)});
    EXPECT_LE(edge, 10) << name << " shows its border";
    EXPECT_GT(p.Luma(p.w / 2, p.h / 2) + Ink(p, {0, 0, p.w, p.h}), 100) << name << " is empty";
  }
  Picture trail = Load("BLight.bmp");
  EXPECT_GT(trail.Luma(8, 8), 200);
  for (int y = 0; y < 16; ++y) {
    EXPECT_LE(std::max(trail.Luma(0, y), trail.Luma(15, y)), 10);
    EXPECT_EQ(trail.Luma(8, y), trail.Luma(8, 0)) << "trail uneven along its length";
  }
  Picture bar = Load("ene2.bmp");
  for (int y = 0; y < 50; ++y) EXPECT_TRUE(bar.IsBlack(199, y));
  for (int x = 0; x < 200; ++x) EXPECT_TRUE(bar.IsBlack(x, 49));
  EXPECT_GT(Ink(bar, {0, 0, 199, 49}, 120), 199 * 20);
  Picture ghost = Load("Ghost.bmp");
  EXPECT_LT(MeanLuma(ghost, {30, 22, 50, 38}) * 4, MeanLuma(ghost, {0, 0, 80, 6})) << "ghost haze centre not dark";
  Picture crash = Load("baku1.bmp");
  for (int f = 0; f < 16; ++f) {
    EXPECT_GT(Ink(crash, {100 * f, 0, 100 * f + 100, 100}, 20), 20) << "crash frame " << f;
    EXPECT_EQ(Ink(crash, {100 * f, 0, 100 * f + 2, 100}, 4) + Ink(crash, {100 * f + 98, 0, 100 * f + 100, 100}, 4) +
                  Ink(crash, {100 * f, 0, 100 * f + 100, 2}, 4) + Ink(crash, {100 * f, 98, 100 * f + 100, 100}, 4),
              0)
        << "crash frame " << f << " bleeds into its neighbour";
  }
  Picture burst = Load("animation_explosion005.png");
  int partial = 0;
  for (int n = 0; n < 25; ++n) {
    int ox = (n % 5) * 192, oy = (n / 5) * 192, opaque = 0;
    for (int y = 0; y < 192; ++y)
      for (int x = 0; x < 192; ++x) {
        int a = burst.At(ox + x, oy + y)[3];
        bool edge = x < 2 || y < 2 || x >= 190 || y >= 190;
        if (edge) {
          ASSERT_EQ(a, 0) << "burst frame " << n << " edge at " << x << "," << y;
        }
        opaque += a > 128;
        partial += a > 0 && a < 255;
      }
    if (n < 16) {
      EXPECT_GT(opaque, 30) << "burst frame " << n;  // later frames fade out by design
    }
  }
  EXPECT_GT(partial, 10000) << "burst alpha should be soft, not a cut-out";
}

TEST_F(TextureSet, TitlePictureIsDarkUnderTheLetteringAndTheMenu) {
  Picture title = Load("oph.bmp");
  double lettering = MeanLuma(title, {40, 70, 760, 180});
  double menu = MeanLuma(title, {200, 360, 560, 500});
  double whole = MeanLuma(title, {0, 0, 800, 600});
  EXPECT_LT(lettering, 30.0);
  EXPECT_LT(menu, 30.0);
  EXPECT_GT(whole, lettering);
  EXPECT_GT(Ink(title, {0, 0, 800, 600}, 200), 100) << "a finished picture has highlights";
}

}  // namespace
