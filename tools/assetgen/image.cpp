#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

Image MakeImage(int w, int h, Rgba fill) {
  Image img;
  img.w = w;
  img.h = h;
  img.px.assign(size_t(w) * h, fill);
  return img;
}

Mask MakeMask(int w, int h, float fill) {
  Mask m;
  m.w = w;
  m.h = h;
  m.v.assign(size_t(w) * h, fill);
  return m;
}

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float Smoothstep(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3.0f - 2.0f * t);
}

float Mix(float a, float b, float t) { return a + (b - a) * t; }

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
  return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}

Rgba Scale(const Rgba& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

uint8_t ToByte(float v) { return uint8_t(std::lround(Clamp01(v) * 255.0f)); }

float SdfCoverage(float d) { return Clamp01(0.5f - d); }

Mask ShapeMask(int w, int h, const std::function<float(float, float)>& sdf) {
  Mask m = MakeMask(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) At(m, x, y) = SdfCoverage(sdf(x + 0.5f, y + 0.5f));
  return m;
}

float SdCircle(float x, float y, float cx, float cy, float r) {
  return std::hypot(x - cx, y - cy) - r;
}

float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius) {
  float qx = std::fabs(x - cx) - (hw - radius);
  float qy = std::fabs(y - cy) - (hh - radius);
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
  float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0.0f ? Clamp01((px * dx + py * dy) / len2) : 0.0f;
  return std::hypot(px - dx * t, py - dy * t) - halfWidth;
}

float SdPolygon(float x, float y, const std::vector<float>& xy) {
  size_t n = xy.size() / 2;
  float best = 1e30f;
  bool inside = false;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
    float ex = xj - xi, ey = yj - yi, wx = x - xi, wy = y - yi;
    float t = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
    best = std::min(best, std::hypot(wx - ex * t, wy - ey * t));
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside ? -best : best;
}

Mask Dilate(const Mask& m, float radius) {
  Mask out = MakeMask(m.w, m.h);
  int r = int(std::ceil(radius));
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float best = 0.0f;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          int sx = x + dx, sy = y + dy;
          if (sx < 0 || sy < 0 || sx >= m.w || sy >= m.h) continue;
          // Soft disc so the grown edge stays antialiased.
          float w = Clamp01(radius + 0.5f - std::sqrt(float(dx * dx + dy * dy)));
          best = std::max(best, At(m, sx, sy) * w);
        }
      At(out, x, y) = best;
    }
  return out;
}

Mask Blur(const Mask& m, float sigma) {
  int r = int(std::ceil(sigma * 3.0f));
  std::vector<float> k(size_t(2 * r + 1));
  float sum = 0.0f;
  for (int i = -r; i <= r; ++i) sum += k[size_t(i + r)] = std::exp(-0.5f * i * i / (sigma * sigma));
  for (float& v : k) v /= sum;
  Mask tmp = MakeMask(m.w, m.h), out = MakeMask(m.w, m.h);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float acc = 0.0f;
      for (int i = -r; i <= r; ++i) {
        int sx = x + i;
        if (sx >= 0 && sx < m.w) acc += At(m, sx, y) * k[size_t(i + r)];
      }
      At(tmp, x, y) = acc;
    }
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float acc = 0.0f;
      for (int i = -r; i <= r; ++i) {
        int sy = y + i;
        if (sy >= 0 && sy < m.h) acc += At(tmp, x, sy) * k[size_t(i + r)];
      }
      At(out, x, y) = acc;
    }
  return out;
}

Mask Union(const Mask& a, const Mask& b) {
  Mask out = a;
  for (size_t i = 0; i < out.v.size(); ++i) out.v[i] = std::max(a.v[i], b.v[i]);
  return out;
}

Mask Subtract(const Mask& a, const Mask& b) {
  Mask out = a;
  for (size_t i = 0; i < out.v.size(); ++i) out.v[i] = a.v[i] * (1.0f - b.v[i]);
  return out;
}

Mask Downsample(const Mask& m, int factor) {
  Mask out = MakeMask(m.w / factor, m.h / factor);
  float inv = 1.0f / float(factor * factor);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) {
      float acc = 0.0f;
      for (int j = 0; j < factor; ++j)
        for (int i = 0; i < factor; ++i) acc += At(m, x * factor + i, y * factor + j);
      At(out, x, y) = acc * inv;
    }
  return out;
}

void Paint(Image& img, const Mask& m, const Rgba& c, int ox, int oy) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      int tx = x + ox, ty = y + oy;
      if (tx < 0 || ty < 0 || tx >= img.w || ty >= img.h) continue;
      float k = At(m, x, y) * c.a;
      if (k <= 0.0f) continue;
      Rgba& d = At(img, tx, ty);
      d.r = Mix(d.r, c.r, k);
      d.g = Mix(d.g, c.g, k);
      d.b = Mix(d.b, c.b, k);
      d.a = Mix(d.a, 1.0f, k);
    }
}

void AddLight(Image& img, const Mask& m, const Rgba& c, int ox, int oy) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      int tx = x + ox, ty = y + oy;
      if (tx < 0 || ty < 0 || tx >= img.w || ty >= img.h) continue;
      float k = At(m, x, y);
      Rgba& d = At(img, tx, ty);
      d.r += c.r * k;
      d.g += c.g * k;
      d.b += c.b * k;
    }
}

void Blit(Image& dst, const Image& src, int ox, int oy) {
  for (int y = 0; y < src.h; ++y)
    for (int x = 0; x < src.w; ++x) {
      int tx = x + ox, ty = y + oy;
      if (tx >= 0 && ty >= 0 && tx < dst.w && ty < dst.h) At(dst, tx, ty) = At(src, x, y);
    }
}

Image Resize(const Image& src, int w, int h) {
  Image out = MakeImage(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // Average the source footprint when shrinking so previews do not alias.
      float x0 = float(x) * src.w / w, x1 = float(x + 1) * src.w / w;
      float y0 = float(y) * src.h / h, y1 = float(y + 1) * src.h / h;
      Rgba acc{0, 0, 0, 0};
      int n = 0;
      for (int sy = int(y0); sy < std::max(int(y0) + 1, int(std::ceil(y1))); ++sy)
        for (int sx = int(x0); sx < std::max(int(x0) + 1, int(std::ceil(x1))); ++sx) {
          const Rgba& s = At(src, std::min(sx, src.w - 1), std::min(sy, src.h - 1));
          acc.r += s.r;
          acc.g += s.g;
          acc.b += s.b;
          acc.a += s.a;
          ++n;
        }
      At(out, x, y) = {acc.r / n, acc.g / n, acc.b / n, acc.a / n};
    }
  return out;
}

static void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

bool WriteBmp24(const Image& img, const std::string& path) {
  uint32_t rowSize = (uint32_t(img.w) * 3 + 3) & ~3u;
  uint32_t dataSize = rowSize * uint32_t(img.h);
  std::vector<uint8_t> out;
  out.reserve(54 + dataSize);
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 54 + dataSize, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);  // BITMAPINFOHEADER
  PutLe(out, uint32_t(img.w), 4);
  PutLe(out, uint32_t(img.h), 4);  // positive: bottom-up
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);  // BI_RGB
  PutLe(out, dataSize, 4);
  PutLe(out, 2835, 4);  // 72 dpi
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      const Rgba& p = At(img, x, y);
      out.push_back(ToByte(p.b));
      out.push_back(ToByte(p.g));
      out.push_back(ToByte(p.r));
    }
    for (uint32_t pad = uint32_t(img.w) * 3; pad < rowSize; ++pad) out.push_back(0);
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::fprintf(stderr, "assetgen: short write to %s\n", path.c_str());
  return ok;
}

bool WritePngRgba(const Image& img, const std::string& path) {
  std::vector<uint8_t> bytes(size_t(img.w) * img.h * 4);
  for (size_t i = 0; i < img.px.size(); ++i) {
    bytes[4 * i + 0] = ToByte(img.px[i].r);
    bytes[4 * i + 1] = ToByte(img.px[i].g);
    bytes[4 * i + 2] = ToByte(img.px[i].b);
    bytes[4 * i + 3] = ToByte(img.px[i].a);
  }
  if (!stbi_write_png(path.c_str(), img.w, img.h, 4, bytes.data(), img.w * 4)) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}
