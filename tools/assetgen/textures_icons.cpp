// Pictograms: the six item reel icons, the three mode badges and the trophy.
// Shapes are signed-distance outlines filled with a light gradient, so one
// set of helpers draws them all at any size.
#include <cmath>
#include <functional>

#include "text_baker.h"
#include "textures.h"

namespace {

constexpr float kPi = 3.14159265f;
using Sdf = std::function<float(float, float)>;

float SdStar(float x, float y, float cx, float cy, float outer, float inner, int points, float turn = 0.0f) {
  std::vector<float> xy;
  for (int i = 0; i < 2 * points; ++i) {
    float a = turn - kPi * 0.5f + i * kPi / points, r = (i & 1) ? inner : outer;
    xy.push_back(cx + r * std::cos(a));
    xy.push_back(cy + r * std::sin(a));
  }
  return SdPolygon(x, y, xy);
}

float SdChevron(float x, float y, float cx, float cy, float halfW, float rise, float thick) {
  return std::min(SdSegment(x, y, cx - halfW, cy + rise, cx, cy, thick),
                  SdSegment(x, y, cx, cy, cx + halfW, cy + rise, thick));
}

// Paints a pictogram: soft coloured glow, dark outline, then a face lit from
// the top. The shape's signed distance is in cell pixels.
void DrawPictogram(Image& img, int ox, int oy, int size, const Sdf& sdf, const Rgba& colour, float glow = 0.55f) {
  Mask shape = ShapeMask(size, size, sdf);
  Mask halo = Blur(Dilate(shape, 2.0f), 5.0f);
  Mask rim = Dilate(shape, 2.0f);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      Rgba& d = At(img, ox + x, oy + y);
      float g = At(halo, x, y) * glow;
      d = {d.r + colour.r * g * 0.6f, d.g + colour.g * g * 0.6f, d.b + colour.b * g * 0.6f, 1};
      d = Mix(d, Rgba{0.02f, 0.025f, 0.04f, 1}, At(rim, x, y) * 0.85f);
      float depth = -sdf(x + 0.5f, y + 0.5f);
      float lightTop = Mix(1.0f, 0.72f, float(y) / size);
      Rgba face = Mix(colour, Rgba{1, 1, 1, 1}, 0.35f * Smoothstep(1.0f, 5.0f, depth) + 0.15f);
      d = Mix(d, Scale(face, lightTop), At(shape, x, y));
    }
}

Sdf GhostShape() {
  return [](float x, float y) {
    float head = SdCircle(x, y, 64, 50, 27);
    float body = SdBox(x, y, 64, 68, 27, 18);
    float shape = std::min(head, body);
    for (int k = 0; k < 3; ++k) shape = std::max(shape, -SdCircle(x, y, 46.0f + 18.0f * k, 88, 8.0f));
    float eyes = std::min(SdBox(x, y, 54, 50, 4.5f, 7, 4.5f), SdBox(x, y, 74, 50, 4.5f, 7, 4.5f));
    return std::max(shape, -eyes);
  };
}

Sdf FlashShape() {
  return [](float x, float y) {
    float bolt = SdPolygon(x, y, {72, 18, 44, 60, 61, 60, 52, 96, 86, 48, 68, 48, 80, 18});
    float rays = 1e9f;
    for (int k = 0; k < 8; ++k) {
      float a = k * kPi / 4.0f + kPi / 8.0f, c = std::cos(a), s = std::sin(a);
      rays = std::min(rays, SdSegment(x, y, 64 + 36 * c, 56 + 36 * s, 64 + 46 * c, 56 + 46 * s, 2.2f));
    }
    return std::min(bolt, rays);
  };
}

Sdf SpeedShape(bool up) {
  return [up](float x, float y) {
    float v = up ? y : 112.0f - y;
    return std::min(SdChevron(x, v, 64, 30, 26, 22, 6.5f), SdChevron(x, v, 64, 56, 26, 22, 6.5f));
  };
}

Sdf ScoreShape() {
  return [](float x, float y) {
    float star = SdStar(x, y, 58, 58, 34, 15, 5);
    float plus = std::min(SdBox(x, y, 94, 30, 12, 3.5f, 1.5f), SdBox(x, y, 94, 30, 3.5f, 12, 1.5f));
    return std::min(star, plus);
  };
}

Sdf RockVanishShape() {
  return [](float x, float y) {
    float a = SdPolygon(x, y, {42, 40, 60, 30, 62, 54, 48, 62, 36, 54});
    float b = SdPolygon(x, y, {68, 28, 90, 36, 92, 56, 70, 56});
    float c = SdPolygon(x, y, {46, 70, 66, 62, 88, 66, 80, 86, 56, 88});
    float debris = std::min(std::min(SdBox(x, y, 28, 30, 3, 3, 1), SdBox(x, y, 102, 24, 3, 3, 1)),
                            std::min(SdBox(x, y, 100, 82, 3.5f, 3.5f, 1), SdBox(x, y, 26, 78, 3, 3, 1)));
    return std::min(std::min(a, b), std::min(c, debris));
  };
}

Image MakeItemReel() {
  Image img = MakeImage(768, 128);
  struct Icon {
    Sdf shape;
    Rgba colour;
    const char* label;
  };
  const Icon icons[] = {
      {GhostShape(), {0.72f, 0.58f, 1.0f, 1}, "GHOST"},
      {FlashShape(), {1.0f, 0.93f, 0.55f, 1}, "FLASH"},
      {SpeedShape(true), {0.42f, 0.8f, 1.0f, 1}, "SPEED UP"},
      {SpeedShape(false), {1.0f, 0.42f, 0.38f, 1}, "SPEED DOWN"},
      {ScoreShape(), {1.0f, 0.8f, 0.3f, 1}, "SCORE UP"},
      {RockVanishShape(), {1.0f, 0.55f, 0.25f, 1}, "VANISH"},
  };
  for (int i = 0; i < 6; ++i) {
    const Icon& icon = icons[i];
    int ox = 128 * i;
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        float d = SdBox(x + 0.5f, y + 0.5f, 64, 64, 60, 60, 12);
        float v = Mix(0.11f, 0.045f, y / 128.0f);
        Rgba panel = Mix(Rgba{0.012f, 0.014f, 0.02f, 1}, Rgba{v * 0.8f, v * 0.9f, v * 1.25f, 1}, SdfCoverage(d));
        float border = SdfCoverage(std::fabs(d + 2.0f) - 1.2f);
        At(img, ox + x, y) = Mix(panel, Scale(icon.colour, 0.85f), border);
      }
    DrawPictogram(img, ox, 0, 128, icon.shape, icon.colour);
    // The border runs 5 pixels in from the cell's sides: long labels shrink to clear it.
    Mask label = BakeText(FONT_TECH, icon.label, 112, 22, 11.0f, 4.0f, 1.2f);
    Paint(img, label, Mix(icon.colour, Rgba{1, 1, 1, 1}, 0.55f), ox + 8, 99);
  }
  return img;
}

Sdf TrophyShape(float cx, float top, float s) {
  return [=](float x, float y) {
    float u = (x - cx) / s, v = (y - top) / s;  // unit design space, 100 wide
    float bowl = std::max(std::hypot(u / 28.0f, v / 40.0f) * 28.0f - 28.0f, -v);
    float lip = SdBox(u, v, 0, 1, 30, 3, 1.5f);
    float handles = 1e9f;
    for (int side = -1; side <= 1; side += 2) {
      float ring = std::fabs(SdCircle(u, v, side * 27.0f, 14, 11)) - 3.2f;
      handles = std::min(handles, std::max(ring, -side * u + 26.0f));
    }
    float stem = SdBox(u, v, 0, 46, 4.5f, 8, 1);
    float knot = SdBox(u, v, 0, 42, 9, 3, 3);
    float plinth = SdBox(u, v, 0, 58, 14, 4, 1.5f);
    float base = SdBox(u, v, 0, 66, 22, 5, 2);
    float d = std::min(std::min(std::min(bowl, lip), handles), std::min(std::min(stem, knot), std::min(plinth, base)));
    return d * s;
  };
}

Image MakeTrophy() {
  Image img = MakeImage(100, 100);
  Sdf cup = TrophyShape(50, 16, 1.0f);
  Mask shape = ShapeMask(100, 100, cup);
  Mask emblem = ShapeMask(100, 100, [](float x, float y) { return SdStar(x, y, 50, 32, 10, 4.2f, 5); });
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      float u = (x + 0.5f - 50.0f) / 30.0f;
      // Polished metal: bright left highlight, darker right flank.
      float shade = 0.62f + 0.3f * std::exp(-std::pow((u + 0.35f) / 0.22f, 2.0f)) - 0.18f * Smoothstep(0.2f, 1.0f, u);
      float depth = -cup(x + 0.5f, y + 0.5f);
      shade *= Mix(0.65f, 1.0f, Smoothstep(0.0f, 2.0f, depth));
      shade = Mix(shade, 0.45f, At(emblem, x, y));
      float k = At(shape, x, y);
      At(img, x, y) = Scale({shade * 0.98f, shade * 0.98f, shade, 1}, Mix(0.35f, 1.0f, k));
    }
  BlackKeyOutside(img, shape);
  return img;
}

Sdf RunBadge() {
  return [](float x, float y) {
    float ship = SdPolygon(x, y, {64, 28, 80, 74, 72, 70, 64, 78, 56, 70, 48, 74});
    float rockA = SdCircle(x, y, 36, 50, 8);
    float rockB = SdCircle(x, y, 94, 66, 6);
    float streaks = std::min(SdSegment(x, y, 58, 86, 58, 98, 1.6f), SdSegment(x, y, 70, 86, 70, 98, 1.6f));
    return std::min(std::min(ship, streaks), std::min(rockA, rockB));
  };
}

Sdf ReturnBadge() {
  return [](float x, float y) {
    float dx = x - 64, dy = y - 66, r = std::hypot(dx, dy), a = std::atan2(dy, dx);
    float arc = std::fabs(r - 22.0f) - 5.0f;
    float keep = (a > -kPi * 0.95f && a < kPi * 0.1f) ? -1.0f : 1.0f;  // upper arc, opening right
    float open = std::max(arc, keep * 1e3f);
    float head = SdPolygon(x, y, {30, 70, 54, 70, 42, 86});
    float tail = SdSegment(x, y, 86, 70, 86, 84, 5.0f);
    return std::min(std::min(open, head), tail);
  };
}

Image MakeModeBadges() {
  Image img = MakeImage(512, 128, kMagenta);
  Mask opaque = MakeMask(512, 128);
  struct Badge {
    Sdf emblem;
    Rgba colour;
  };
  const Badge badges[] = {{RunBadge(), {0.45f, 0.88f, 1.0f, 1}},
                          {ReturnBadge(), {0.72f, 0.6f, 1.0f, 1}},
                          {TrophyShape(64, 36, 0.62f), {1.0f, 0.82f, 0.35f, 1}}};
  for (int i = 0; i < 3; ++i) {
    int ox = 128 * (i + 1);
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        float d = SdCircle(x + 0.5f, y + 0.5f, 64, 64, 60);
        float r = std::hypot(x + 0.5f - 64, y + 0.5f - 50);
        float v = Mix(0.14f, 0.03f, Smoothstep(0.0f, 70.0f, r));
        Rgba c{v * 0.8f, v * 0.9f, v * 1.3f, 1};
        c = Mix(c, badges[i].colour, SdfCoverage(std::fabs(d + 4.0f) - 1.8f));
        At(img, ox + x, y) = Mix(Rgba{0.02f, 0.02f, 0.035f, 1}, c, SdfCoverage(d + 1.5f));
        At(opaque, ox + x, y) = SdfCoverage(d);
      }
    DrawPictogram(img, ox, 0, 128, badges[i].emblem, badges[i].colour, 0.45f);
  }
  KeyOutside(img, opaque);
  return img;
}

}  // namespace

void MakeIconTextures(std::vector<TextureFile>& out) {
  out.push_back({"bmp/s.bmp", MakeItemReel()});
  out.push_back({"bmp/select.bmp", MakeModeBadges()});
  out.push_back({"bmp/trophy.bmp", MakeTrophy()});
}
