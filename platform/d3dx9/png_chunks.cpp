// A PNG's empty image-data chunks, taken out before stb_image reads it. They
// add nothing to the compressed stream, but stb_image copies each one into a
// buffer it has not yet made (a copy of nothing from a null pointer, which
// C leaves undefined). Everything else is left to stb_image as it stands.
#include <cstring>

#include "d3dx9/image_decode.h"

namespace corvane::d3dx9 {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kChunkOverhead = 12;  // length, type, CRC

uint32_t BigEndian32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

bool IsEmptyDataChunk(const uint8_t* chunk) { return BigEndian32(chunk) == 0 && !std::memcmp(chunk + 4, "IDAT", 4); }

}  // namespace

bool DropEmptyPngDataChunks(const uint8_t* data, size_t size, std::vector<uint8_t>* out) {
  if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature)) return false;
  bool dropped = false;
  size_t pos = sizeof kSignature;
  out->assign(data, data + pos);
  while (size - pos >= kChunkOverhead) {
    const size_t length = BigEndian32(data + pos);
    if (length > size - pos - kChunkOverhead) break;  // cut short: stb_image says so
    if (IsEmptyDataChunk(data + pos)) dropped = true;
    else out->insert(out->end(), data + pos, data + pos + kChunkOverhead + length);
    pos += kChunkOverhead + length;
  }
  out->insert(out->end(), data + pos, data + size);
  return dropped;
}

}  // namespace corvane::d3dx9
