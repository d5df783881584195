// Picture operations used while building textures from files.
#include "d3dx9/texture_image.h"

#include <algorithm>
#include <cmath>

namespace corvane::d3dx9 {

UINT NextPowerOfTwo(UINT value) {
  UINT p = 1;
  while (p < value && p < 0x80000000u) p <<= 1;
  return p;
}

void ApplyColorKey(DecodedImage* image, DWORD key) {
  if (key == 0) return;
  uint8_t* p = image->rgba.data();
  for (size_t i = 0; i + 3 < image->rgba.size(); i += 4) {
    const DWORD argb = DWORD(p[i + 3]) << 24 | DWORD(p[i]) << 16 | DWORD(p[i + 1]) << 8 | DWORD(p[i + 2]);
    if (argb == key) p[i] = p[i + 1] = p[i + 2] = p[i + 3] = 0;
  }
}

DecodedImage PlaceUnscaled(DecodedImage image, int width, int height) {
  if (width == image.width && height == image.height) return image;
  DecodedImage out;
  out.width = width;
  out.height = height;
  out.rgba.assign(size_t(width) * height * 4, 0);
  const int w = std::min(width, image.width), h = std::min(height, image.height);
  for (int y = 0; y < h; ++y)
    std::copy_n(&image.rgba[size_t(y) * image.width * 4], size_t(w) * 4, &out.rgba[size_t(y) * width * 4]);
  return out;
}

DecodedImage Resample(DecodedImage image, int width, int height) {
  if (width == image.width && height == image.height) return image;
  DecodedImage out;
  out.width = width;
  out.height = height;
  out.rgba.resize(size_t(width) * height * 4);
  const float sx = float(image.width) / width, sy = float(image.height) / height;
  auto texel = [&](int x, int y, int c) {
    x = std::clamp(x, 0, image.width - 1);
    y = std::clamp(y, 0, image.height - 1);
    return float(image.rgba[(size_t(y) * image.width + x) * 4 + c]);
  };
  for (int y = 0; y < height; ++y) {
    const float fy = (y + 0.5f) * sy - 0.5f;
    const int y0 = int(std::floor(fy));
    const float ty = fy - y0;
    for (int x = 0; x < width; ++x) {
      const float fx = (x + 0.5f) * sx - 0.5f;
      const int x0 = int(std::floor(fx));
      const float tx = fx - x0;
      for (int c = 0; c < 4; ++c) {
        const float top = texel(x0, y0, c) * (1 - tx) + texel(x0 + 1, y0, c) * tx;
        const float bottom = texel(x0, y0 + 1, c) * (1 - tx) + texel(x0 + 1, y0 + 1, c) * tx;
        out.rgba[(size_t(y) * width + x) * 4 + c] = uint8_t(std::lround(top * (1 - ty) + bottom * ty));
      }
    }
  }
  return out;
}

DecodedImage HalveImage(const DecodedImage& image) {
  DecodedImage out;
  out.width = std::max(1, image.width / 2);
  out.height = std::max(1, image.height / 2);
  out.rgba.resize(size_t(out.width) * out.height * 4);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      for (int c = 0; c < 4; ++c) {
        int sum = 0, n = 0;
        for (int dy = 0; dy < 2; ++dy)
          for (int dx = 0; dx < 2; ++dx) {
            const int sx = x * 2 + dx, sy = y * 2 + dy;
            if (sx >= image.width || sy >= image.height) continue;
            sum += image.rgba[(size_t(sy) * image.width + sx) * 4 + c];
            ++n;
          }
        out.rgba[(size_t(y) * out.width + x) * 4 + c] = uint8_t((sum + n / 2) / n);
      }
    }
  }
  return out;
}

}  // namespace corvane::d3dx9
