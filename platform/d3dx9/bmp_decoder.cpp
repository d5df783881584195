// A bounds-checked BMP decoder: OS/2 and Windows headers, 1/2/4/8-bit
// palettes, RLE4/RLE8, 16/24/32-bit with default or explicit bit masks.
#include "d3dx9/image_decode.h"

#include <algorithm>
#include <cstring>

namespace corvane::d3dx9 {
namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;
constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;
// An RLE pair paints at most 255 pixels; deltas may skip more, so allow some
// room beyond that before calling a header larger than its data.
constexpr int64_t kMaxRlePixelsPerByte = 256;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

struct BmpHeader {
  uint32_t pixelOffset = 0;
  uint32_t headerSize = 0;
  int32_t width = 0, height = 0;
  uint16_t planes = 0, bpp = 0;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // r, g, b, a
  bool topDown = false;
};

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

bool ReadHeader(const uint8_t* d, size_t size, BmpHeader* h, std::string* error) {
  if (size < 26 || d[0] != 'B' || d[1] != 'M') return Fail(error, "not a BMP file");
  h->pixelOffset = U32(d + 10);
  h->headerSize = U32(d + 14);
  const uint32_t hs = h->headerSize;
  if (hs == 12) {
    h->width = U16(d + 18);
    h->height = int16_t(U16(d + 20));
    h->planes = U16(d + 22);
    h->bpp = U16(d + 24);
  } else if (hs == 16 || hs == 40 || hs == 52 || hs == 56 || hs == 64 || hs == 108 || hs == 124) {
    if (size < 14 + size_t(hs) || hs < 16) return Fail(error, "truncated BMP header");
    h->width = int32_t(U32(d + 18));
    h->height = int32_t(U32(d + 22));
    h->planes = U16(d + 26);
    h->bpp = U16(d + 28);
    if (hs >= 40) {
      h->compression = U32(d + 30);
      h->colorsUsed = U32(d + 46);
    }
    if (hs == 64 && h->compression >= 3) return Fail(error, "unsupported OS/2 BMP compression");
    if (hs >= 52 && hs != 64) {
      for (int i = 0; i < 3; ++i) h->masks[i] = U32(d + 54 + 4 * i);
    }
    if (hs >= 56 && hs != 64) h->masks[3] = U32(d + 66);
  } else {
    return Fail(error, "unknown BMP header size");
  }
  if (h->planes != 1) return Fail(error, "BMP planes field is not 1");
  if (h->height < 0) {
    if (h->height == INT32_MIN) return Fail(error, "bad BMP height");
    h->height = -h->height;
    h->topDown = true;
  }
  if (h->width <= 0 || h->height <= 0) return Fail(error, "bad BMP size");
  if (int64_t(h->width) * h->height > kMaxPixels) return Fail(error, "BMP too large");
  return true;
}

// Bit masks given after a 40-byte header.
void ReadTrailingMasks(const uint8_t* d, size_t size, BmpHeader* h) {
  if (h->headerSize != 40) return;
  const int count = h->compression == kBiAlphaBitfields ? 4 : 3;
  if (size < 54 + size_t(4 * count)) return;
  for (int i = 0; i < count; ++i) h->masks[i] = U32(d + 54 + 4 * i);
}

struct MaskChannel {
  int shift = 0, bits = 0;
};

MaskChannel AnalyseMask(uint32_t mask) {
  MaskChannel c;
  if (!mask) return c;
  while (!(mask & 1)) {
    mask >>= 1;
    ++c.shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++c.bits;
  }
  return c;
}

bool MaskIsContiguous(uint32_t mask) {
  if (!mask) return true;
  while (!(mask & 1)) mask >>= 1;
  return (mask & (mask + 1)) == 0;
}

// Scales a `bits`-wide value to 8 bits by repeating its bit pattern.
uint8_t ScaleChannel(uint32_t v, int bits) {
  if (bits <= 0) return 0;
  if (bits >= 8) return uint8_t(v >> (bits - 8));
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << bits) | v;
    filled += bits;
  }
  return uint8_t(out >> (filled - 8));
}

void StoreRgba(DecodedImage* img, int x, int row, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  if (x < 0 || x >= img->width || row < 0 || row >= img->height) return;
  uint8_t* p = &img->rgba[(size_t(row) * img->width + x) * 4];
  p[0] = r;
  p[1] = g;
  p[2] = b;
  p[3] = a;
}

struct Palette {
  uint8_t rgb[256][3] = {};
  int count = 0;
};

void ReadPalette(const uint8_t* d, size_t size, const BmpHeader& h, Palette* pal) {
  const size_t entrySize = h.headerSize == 12 ? 3 : 4;
  size_t start = 14 + h.headerSize;
  if (h.headerSize == 40 && (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields))
    start += h.compression == kBiAlphaBitfields ? 16 : 12;
  size_t count = h.bpp <= 8 ? (size_t(1) << h.bpp) : 0;
  if (h.colorsUsed && h.colorsUsed < count) count = h.colorsUsed;
  // The palette ends where the pixels begin (OS/2 files may carry fewer entries).
  const size_t end = h.pixelOffset > start ? std::min<size_t>(h.pixelOffset, size) : size;
  if (end > start) count = std::min(count, (end - start) / entrySize);
  else count = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = d + start + i * entrySize;
    pal->rgb[i][0] = e[2];
    pal->rgb[i][1] = e[1];
    pal->rgb[i][2] = e[0];
  }
  pal->count = int(count);
}

void StoreIndex(DecodedImage* img, const Palette& pal, int x, int row, unsigned index) {
  // Indices past the palette read as black, as GDI does.
  if (int(index) >= pal.count) StoreRgba(img, x, row, 0, 0, 0, 255);
  else StoreRgba(img, x, row, pal.rgb[index][0], pal.rgb[index][1], pal.rgb[index][2], 255);
}

int OutputRow(const BmpHeader& h, int y) { return h.topDown ? y : h.height - 1 - y; }

bool DecodeRle(const uint8_t* d, size_t size, const BmpHeader& h, const Palette& pal, DecodedImage* img,
               std::string* error) {
  if (h.topDown) return Fail(error, "top-down RLE BMP");
  const bool four = h.compression == kBiRle4;
  size_t p = h.pixelOffset;
  int x = 0, y = 0;  // y counts from the bottom row
  while (p + 1 < size && y < h.height) {
    const uint8_t count = d[p], value = d[p + 1];
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i, ++x) {
        const unsigned index = four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value;
        StoreIndex(img, pal, x, OutputRow(h, y), index);
      }
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (p + 1 >= size) break;
      x += d[p];
      y += d[p + 1];
      p += 2;
    } else {
      const size_t bytes = four ? (value + 1) / 2 : value;
      if (p + bytes > size) break;
      for (int i = 0; i < value; ++i, ++x) {
        const uint8_t b = d[p + (four ? i / 2 : i)];
        const unsigned index = four ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b;
        StoreIndex(img, pal, x, OutputRow(h, y), index);
      }
      p += (bytes + 1) & ~size_t(1);
    }
  }
  return true;
}

bool DecodeRows(const uint8_t* d, size_t size, const BmpHeader& h, const Palette& pal, DecodedImage* img,
                std::string* error) {
  const size_t stride = ((size_t(h.width) * h.bpp + 31) / 32) * 4;
  if (h.pixelOffset > size || stride * h.height > size - h.pixelOffset)
    return Fail(error, "BMP pixel data cut short");

  uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
  const bool bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
  if (!bitfields) {
    if (h.bpp == 16) {
      masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
    } else {
      masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
    }
    masks[3] = 0;  // BI_RGB carries no alpha: the spare bits are not alpha
  }
  MaskChannel ch[4];
  for (int i = 0; i < 4; ++i) {
    if (!MaskIsContiguous(masks[i])) return Fail(error, "bad BMP bit masks");
    ch[i] = AnalyseMask(masks[i]);
  }

  for (int y = 0; y < h.height; ++y) {
    const uint8_t* row = d + h.pixelOffset + stride * y;
    const int out = OutputRow(h, y);
    for (int x = 0; x < h.width; ++x) {
      if (h.bpp <= 8) {
        const size_t bit = size_t(x) * h.bpp;
        const unsigned index = (row[bit / 8] >> (8 - h.bpp - bit % 8)) & ((1u << h.bpp) - 1);
        StoreIndex(img, pal, x, out, index);
        continue;
      }
      uint32_t v;
      if (h.bpp == 16) v = U16(row + 2 * x);
      else if (h.bpp == 24) v = uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
      else v = U32(row + 4 * x);
      uint8_t c[4];
      for (int i = 0; i < 3; ++i) c[i] = ScaleChannel((v & masks[i]) >> ch[i].shift, ch[i].bits);
      c[3] = masks[3] ? ScaleChannel((v & masks[3]) >> ch[3].shift, ch[3].bits) : 255;
      StoreRgba(img, x, out, c[0], c[1], c[2], c[3]);
    }
  }
  return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage* out, std::string* error) {
  BmpHeader h;
  if (!data || !ReadHeader(data, size, &h, error)) return false;
  ReadTrailingMasks(data, size, &h);
  const uint16_t bpp = h.bpp;
  const bool paletted = bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8;
  switch (h.compression) {
    case kBiRgb:
      if (!paletted && bpp != 16 && bpp != 24 && bpp != 32) return Fail(error, "unsupported BMP bit depth");
      break;
    case kBiRle8:
      if (bpp != 8) return Fail(error, "RLE8 BMP that is not 8-bit");
      break;
    case kBiRle4:
      if (bpp != 4) return Fail(error, "RLE4 BMP that is not 4-bit");
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (bpp != 16 && bpp != 32) return Fail(error, "bit-field BMP that is not 16- or 32-bit");
      break;
    default:
      return Fail(error, "unsupported BMP compression");
  }
  Palette pal;
  if (paletted) ReadPalette(data, size, h, &pal);

  DecodedImage img;
  img.width = h.width;
  img.height = h.height;
  // Pixels an RLE stream skips or never reaches stay transparent black.
  img.rgba.assign(size_t(h.width) * h.height * 4, 0);
  const bool ok = (h.compression == kBiRle8 || h.compression == kBiRle4)
                      ? DecodeRle(data, size, h, pal, &img, error)
                      : DecodeRows(data, size, h, pal, &img, error);
  if (!ok) return false;
  *out = std::move(img);
  return true;
}

bool CheckBmpFits(const uint8_t* data, size_t size, std::string* error) {
  BmpHeader h;
  if (!data || !ReadHeader(data, size, &h, error)) return false;
  const size_t pixelBytes = h.pixelOffset < size ? size - h.pixelOffset : 0;
  if (h.compression == kBiRle8 || h.compression == kBiRle4) {
    if (int64_t(h.width) * h.height > int64_t(pixelBytes) * kMaxRlePixelsPerByte)
      return Fail(error, "BMP pixel data cut short");
    return true;
  }
  if (h.bpp == 0) return Fail(error, "unsupported BMP bit depth");
  const uint64_t stride = ((uint64_t(h.width) * h.bpp + 31) / 32) * 4;
  if (h.pixelOffset > size || stride * uint64_t(h.height) > pixelBytes) return Fail(error, "BMP pixel data cut short");
  return true;
}

bool BmpHasAlpha(const uint8_t* data, size_t size) {
  BmpHeader h;
  if (!data || !ReadHeader(data, size, &h, nullptr)) return false;
  ReadTrailingMasks(data, size, &h);
  return (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) && h.masks[3] != 0;
}

}  // namespace corvane::d3dx9
