// Screen furniture: the gauge bar and its frames, the lock-on panel, the
// forward warning reticle and the arrow cells with their plate.
#include <cmath>

#include "text_baker.h"
#include "textures.h"

namespace {

constexpr float kPi = 3.14159265f;
const Rgba kIce{0.72f, 0.92f, 1.0f, 1};
const Rgba kPanel{0.035f, 0.05f, 0.085f, 1};

Image MakeGaugeBar() {
  Image img = MakeImage(200, 50);
  for (int y = 0; y < 49; ++y)
    for (int x = 0; x < 199; ++x) {
      float u = x / 198.0f, v = (y + 0.5f) / 49.0f;
      Rgba c = u < 0.5f ? Mix(Rgba{0.45f, 0.3f, 1.0f, 1}, Rgba{0.3f, 0.75f, 1.0f, 1}, u * 2.0f)
                        : Mix(Rgba{0.3f, 0.75f, 1.0f, 1}, Rgba{0.85f, 1.0f, 1.0f, 1}, u * 2.0f - 1.0f);
      // A lit tube: brightest a little above the middle, darker at the rims.
      float tube = 0.45f + 0.55f * std::exp(-std::pow((v - 0.42f) / 0.3f, 2.0f));
      float line = 0.35f * std::exp(-std::pow((v - 0.3f) / 0.05f, 2.0f));
      float cell = (x % 10 == 9) ? 0.72f : 1.0f;  // energy-cell ticks
      float k = tube * cell;
      At(img, x, y) = {Clamp01(c.r * k + line), Clamp01(c.g * k + line), Clamp01(c.b * k + line), 1};
    }
  // Last column and row stay black: the game samples past them.
  return img;
}

// A 220 x 80 frame whose (0,8)-(200,58) window lets the item timer bar show.
Image MakeItemGaugeFrame() {
  Image img = MakeImage(220, 80, kPanel);
  Mask opaque = ShapeMask(220, 80, [](float x, float y) {
    float frame = SdBox(x, y, 102.5f, 33.0f, 102.5f, 28.5f, 3.0f);
    float tab = SdBox(x, y, 32.0f, 70.0f, 32.0f, 10.0f, 3.0f);
    float cap = SdBox(x, y, 210.0f, 33.0f, 10.0f, 20.0f, 2.0f);
    return std::min(frame, std::min(tab, cap));
  });
  Mask window = ShapeMask(220, 80, [](float x, float y) { return SdBox(x, y, 101.0f, 33.0f, 99.0f, 25.0f); });
  Mask rim = ShapeMask(220, 80, [](float x, float y) {
    float d = SdBox(x, y, 101.0f, 33.0f, 100.5f, 26.5f, 2.0f);
    return std::fabs(d) - 1.0f;
  });
  Paint(img, rim, kIce);
  for (int i = 0; i < 3; ++i) {
    Mask lamp = ShapeMask(220, 80, [i](float x, float y) { return SdBox(x, y, 211.0f, 22.0f + 11.0f * i, 4.0f, 3.0f, 1.0f); });
    Paint(img, lamp, Mix(Rgba{0.3f, 0.75f, 1.0f, 1}, kIce, i * 0.5f));
  }
  Mask label = BakeTextLeft(FONT_TECH, "ITEM", 64, 20, 12.0f, 9.0f, 2.0f);
  Paint(img, label, {0.9f, 0.97f, 1.0f, 1}, 0, 61);
  KeyOutside(img, Subtract(opaque, window));
  return img;
}

// Thin bright frame with a see-through interior; stretched up to 3.3x, so
// its lines are one texel and the corners carry heavier brackets.
Image MakeFrame() {
  Image img = MakeImage(220, 80, kMagenta);
  auto put = [&](int x, int y, const Rgba& c) { At(img, x, y) = c; };
  for (int x = 0; x < 220; ++x) {
    put(x, 0, kIce);
    put(x, 79, kIce);
  }
  for (int y = 0; y < 80; ++y) {
    put(0, y, kIce);
    put(219, y, kIce);
  }
  const Rgba bright{0.92f, 0.98f, 1.0f, 1};
  for (int i = 0; i < 22; ++i)
    for (int t = 0; t < 2; ++t) {
      put(i, t, bright), put(219 - i, t, bright), put(i, 79 - t, bright), put(219 - i, 79 - t, bright);
    }
  for (int i = 0; i < 10; ++i)
    for (int t = 0; t < 2; ++t) {
      put(t, i, bright), put(219 - t, i, bright), put(t, 79 - i, bright), put(219 - t, 79 - i, bright);
    }
  return img;
}

Image MakeLockPanel() {
  Image img = MakeImage(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      float dx = x + 0.5f - 32.0f, dy = y + 0.5f - 32.0f, r = std::hypot(dx, dy);
      float grid = (x % 8 == 0 || y % 8 == 0) ? 0.035f : 0.0f;
      float vignette = 1.0f - 0.5f * Smoothstep(10.0f, 44.0f, r);
      At(img, x, y) = {kPanel.r * vignette + grid * 0.5f, kPanel.g * vignette + grid * 0.8f,
                       kPanel.b * vignette + grid, 1};
    }
  Mask ring = ShapeMask(64, 64, [](float x, float y) { return std::fabs(SdCircle(x, y, 32, 32, 24.0f)) - 1.4f; });
  Mask inner = ShapeMask(64, 64, [](float x, float y) { return std::fabs(SdCircle(x, y, 32, 32, 17.0f)) - 0.5f; });
  Mask ticks = ShapeMask(64, 64, [](float x, float y) {
    float d = 1e9f;
    for (int k = 0; k < 4; ++k) {
      float a = k * kPi * 0.5f, c = std::cos(a), s = std::sin(a);
      d = std::min(d, SdSegment(x, y, 32 + 19 * c, 32 + 19 * s, 32 + 29 * c, 32 + 29 * s, 1.1f));
    }
    return d;
  });
  Mask border = ShapeMask(64, 64, [](float x, float y) { return std::fabs(SdBox(x, y, 32, 32, 31.5f, 31.5f)) - 0.6f; });
  Paint(img, Blur(ring, 2.0f), {0.2f, 0.5f, 0.8f, 0.8f});
  Paint(img, inner, {0.3f, 0.5f, 0.7f, 1});
  Paint(img, border, {0.2f, 0.3f, 0.42f, 1});
  Paint(img, ring, kIce);
  Paint(img, ticks, {0.9f, 0.98f, 1.0f, 1});
  return img;
}

Image MakeWarningReticle() {
  Image img = MakeImage(256, 256);
  Mask shape = ShapeMask(256, 256, [](float x, float y) {
    float dx = x - 128.0f, dy = y - 128.0f, r = std::hypot(dx, dy), a = std::atan2(dy, dx);
    float outer = std::fabs(r - 108.0f) - 7.0f;
    // Inner ring broken into eight dashes.
    float dash = std::fabs(r - 64.0f) - 3.5f;
    float seg = std::fabs(std::remainder(a + kPi / 8.0f, kPi / 4.0f)) * r - 13.0f;
    float inner = std::max(dash, seg);
    float notches = 1e9f;
    for (int k = 0; k < 4; ++k) {
      float ang = k * kPi * 0.5f + kPi * 0.25f, c = std::cos(ang), s = std::sin(ang);
      float tx = 128 + 101 * c, ty = 128 + 101 * s;  // triangles pointing at the centre
      float px = -s, py = c;
      notches = std::min(notches, SdPolygon(x, y, {tx - 24 * c, ty - 24 * s, tx + 13 * px, ty + 13 * py,
                                                   tx - 13 * px, ty - 13 * py}));
    }
    float bar = SdSegment(x, y, 128, 100, 128, 134, 8.0f);
    float dot = SdCircle(x, y, 128, 156, 9.0f);
    return std::min(std::min(outer, inner), std::min(notches, std::min(bar, dot)));
  });
  Mask glow = Blur(shape, 4.0f);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      float v = Clamp01(0.88f * At(shape, x, y) + 0.35f * At(glow, x, y));
      At(img, x, y) = {v, v, v, 1};
    }
  return img;
}

// Arrow up in a 64-pixel cell, turned by quarter turns for the others.
Image MakeArrowStrip() {
  Image img = MakeImage(320, 64);
  for (int a = 0; a < 4; ++a) {
    auto sdf = [a](float x, float y) {
      float u = x - 32.0f, v = y - 32.0f;
      for (int k = 0; k < a; ++k) {  // undo a quarter turn clockwise per step
        float t = u;
        u = v;
        v = -t;
      }
      return SdPolygon(u + 32.0f, v + 32.0f, {32, 5, 59, 32, 43, 32, 43, 59, 21, 59, 21, 32, 5, 32});
    };
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        float d = sdf(x + 0.5f, y + 0.5f);
        float cover = SdfCoverage(d);
        float shade = Mix(0.74f, 1.0f, Smoothstep(0.0f, 3.5f, -d));
        At(img, 64 * a + x, y) = Scale({shade, shade, shade, 1}, cover);
      }
  }
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      float d = SdBox(x + 0.5f, y + 0.5f, 32, 32, 29, 29, 10);
      float cover = SdfCoverage(d);
      float v = Mix(0.72f, Mix(0.42f, 0.3f, (y + 0.5f) / 64.0f), Smoothstep(0.0f, 2.5f, -d));
      At(img, 256 + x, y) = Scale({v, v, v * 1.05f, 1}, cover);
    }
  BlackKeyOutside(img, [&] {
    Mask m = MakeMask(320, 64);
    for (size_t i = 0; i < m.v.size(); ++i) m.v[i] = img.px[i].r > 0.0f ? 1.0f : 0.0f;
    return m;
  }());
  return img;
}

}  // namespace

void MakeHudTextures(std::vector<TextureFile>& out) {
  out.push_back({"bmp/asist.bmp", MakeWarningReticle()});
  out.push_back({"bmp/ene4.bmp", MakeItemGaugeFrame()});
  out.push_back({"bmp/ene2.bmp", MakeGaugeBar()});
  out.push_back({"bmp/frame.bmp", MakeFrame()});
  out.push_back({"bmp/vec.bmp", MakeArrowStrip()});
  out.push_back({"bmp/lock.bmp", MakeLockPanel()});
}
