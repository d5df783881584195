// A PNG's empty image-data chunks, taken out before stb_image reads it. They
// add nothing to the compressed stream, but stb_image copies each one into a
// buffer it has not yet made (a copy of nothing from a null pointer, which
// C leaves undefined). Everything else is left to stb_image as it stands.
#include <algorithm>
#include <cstring>

#include "d3dx9/image_decode.h"

namespace corvane::d3dx9 {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kChunkHeader = 8;     // length, type
constexpr size_t kChunkCrc = 4;

uint32_t BigEndian32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

bool IsEmptyDataChunk(const uint8_t* chunk) { return BigEndian32(chunk) == 0 && !std::memcmp(chunk + 4, "IDAT", 4); }

}  // namespace

bool DropEmptyPngDataChunks(const uint8_t* data, size_t size, std::vector<uint8_t>* out) {
  if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature)) return false;
  bool dropped = false;
  size_t pos = sizeof kSignature;
  out->assign(data, data + pos);
  // stb_image takes a chunk in once its header is read, so an empty one goes
  // even when the file ends inside its CRC.
  while (size - pos >= kChunkHeader) {
    const size_t length = BigEndian32(data + pos);
    const size_t after = size - pos - kChunkHeader;
    if (IsEmptyDataChunk(data + pos)) {
      dropped = true;
      pos += kChunkHeader + std::min(after, kChunkCrc);
      continue;
    }
    if (length + kChunkCrc > after) break;  // cut short: stb_image says so
    out->insert(out->end(), data + pos, data + pos + kChunkHeader + length + kChunkCrc);
    pos += kChunkHeader + length + kChunkCrc;
  }
  out->insert(out->end(), data + pos, data + size);
  return dropped;
}

}  // namespace corvane::d3dx9
