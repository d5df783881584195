// Writes small BMP files for the texture and mesh tests.
#include <algorithm>

#include "support/bmp_writer.h"

namespace {
void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
}  // namespace

std::vector<uint8_t> MakeBmp(int w, int h, const std::vector<DWORD>& texels, int bpp) {
  std::vector<DWORD> palette;
  if (bpp == 8)
    for (DWORD t : texels)
      if (std::find(palette.begin(), palette.end(), t) == palette.end()) palette.push_back(t);
  const size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
  const size_t offset = 54 + palette.size() * 4;
  std::vector<uint8_t> b(offset + stride * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, uint32_t(b.size()));
  Put32(b, 10, uint32_t(offset));
  Put32(b, 14, 40);
  Put32(b, 18, uint32_t(w));
  Put32(b, 22, uint32_t(h));
  Put16(b, 26, 1);
  Put16(b, 28, uint32_t(bpp));
  Put32(b, 46, uint32_t(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) Put32(b, 54 + 4 * i, palette[i] & 0xFFFFFF);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = &b[offset + stride * (h - 1 - y)];
    for (int x = 0; x < w; ++x) {
      const DWORD t = texels[size_t(y) * w + x];
      if (bpp == 8) {
        row[x] = uint8_t(std::find(palette.begin(), palette.end(), t) - palette.begin());
      } else {
        const int n = bpp / 8;
        row[n * x] = uint8_t(t);
        row[n * x + 1] = uint8_t(t >> 8);
        row[n * x + 2] = uint8_t(t >> 16);
        if (n == 4) row[n * x + 3] = 0;  // the spare byte of BI_RGB
      }
    }
  }
  return b;
}
