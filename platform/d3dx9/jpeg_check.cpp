// The JPEG check run before stb_image sees a file. stb_image builds each
// Huffman table as it reads it, trusting the code counts: counts summing past
// 256, or lengths overflowing their code space, write past its tables, and a
// scan using a Huffman or quantisation table never defined decodes from
// uninitialised memory. This
// walks the markers as stb_image does (segment by segment, entropy-coded data
// up to the next marker) and refuses those files first. Whatever else stb
// refuses is left to it: it stops at the first fault, so nothing after one
// reaches its table builder.
#include "d3dx9/image_decode.h"

namespace corvane::d3dx9 {
namespace {

constexpr uint8_t kSof0 = 0xC0, kSof2 = 0xC2, kDht = 0xC4, kEoi = 0xD9, kSos = 0xDA, kDqt = 0xDB;
constexpr int kClasses = 2, kSlots = 4;  // DC and AC, four tables of each

bool Fail(std::string* error, const char* why) {
  if (error) *error = std::string("damaged JPEG: ") + why;
  return false;
}

struct JpegWalk {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  bool progressive = false;
  bool defined[kClasses][kSlots] = {};
  bool quantDefined[kSlots] = {};
  uint8_t quantOf[256] = {};  // a frame component's quantisation slot, by component id

  // The marker after pos: a 0xFF, fill bytes, then a byte that is neither a
  // stuffed zero nor a restart. 0 at the end of the file.
  uint8_t NextMarker() {
    while (pos + 1 < size) {
      if (data[pos++] != 0xFF) continue;
      while (pos < size && data[pos] == 0xFF) ++pos;
      if (pos == size) break;
      const uint8_t m = data[pos++];
      if (m != 0 && (m < 0xD0 || m > 0xD7)) return m;
    }
    return 0;
  }

  // The segment after a marker: its bytes after the length field, or false
  // when it runs past the file.
  bool Segment(const uint8_t** body, size_t* length) {
    if (size - pos < 2) return false;
    const size_t declared = size_t(data[pos]) << 8 | data[pos + 1];
    if (declared < 2 || declared > size - pos) return false;
    *body = data + pos + 2;
    *length = declared - 2;
    pos += declared;
    return true;
  }

  // One DHT segment's tables, as stb_image reads them until the segment ends.
  bool HuffmanTables(const uint8_t* p, size_t length, std::string* error) {
    while (length > 0) {
      if (length < 17) return Fail(error, "Huffman table cut short");
      const int tableClass = p[0] >> 4, slot = p[0] & 15;
      if (tableClass >= kClasses || slot >= kSlots) return Fail(error, "bad Huffman table number");
      // Canonical codes: each length's codes follow the shorter ones'; no
      // length may hold more codes than its bits can tell apart.
      uint32_t count = 0, code = 0;
      for (int bits = 1; bits <= 16; ++bits) {
        count += p[bits];
        code += p[bits];
        if (code > (1u << bits)) return Fail(error, "Huffman code lengths overflow");
        code <<= 1;
      }
      if (count > 256) return Fail(error, "Huffman table of more than 256 codes");
      if (length < 17 + count) return Fail(error, "Huffman table values cut short");
      defined[tableClass][slot] = true;
      p += 17 + count;
      length -= 17 + count;
    }
    return true;
  }

  // One DQT segment's tables; false for a malformed one, which stb_image
  // refuses itself before reading further.
  bool QuantTables(const uint8_t* p, size_t length) {
    while (length > 0) {
      const int precision = p[0] >> 4, slot = p[0] & 15;
      const size_t tableSize = 1 + (precision ? 128 : 64);
      if (precision > 1 || slot >= kSlots || length < tableSize) return false;
      quantDefined[slot] = true;
      p += tableSize;
      length -= tableSize;
    }
    return true;
  }

  // The frame header: which quantisation slot each component dequantises with.
  void FrameComponents(const uint8_t* p, size_t length) {
    for (size_t i = 0; length >= 6 && i < p[5] && 8 + 3 * i < length; ++i) quantOf[p[6 + 3 * i]] = p[8 + 3 * i];
  }

  // A scan's header: every table its components decode with must be defined.
  // Progressive DC refinement uses none, the other progressive scans one.
  bool ScanTables(const uint8_t* p, size_t length, std::string* error) {
    if (length < 1 || length < 1 + 2 * size_t(p[0]) + 3) return true;  // stb refuses the header
    const int components = p[0];
    const uint8_t spectralStart = p[1 + 2 * components], approximationHigh = p[3 + 2 * components] >> 4;
    const bool usesDc = !progressive || (spectralStart == 0 && approximationHigh == 0);
    const bool usesAc = !progressive || spectralStart != 0;
    for (int i = 0; i < components; ++i) {
      const int dc = p[2 + 2 * i] >> 4, ac = p[2 + 2 * i] & 15;
      if ((usesDc && dc < kSlots && !defined[0][dc]) || (usesAc && ac < kSlots && !defined[1][ac]))
        return Fail(error, "scan uses an undefined Huffman table");
      const int quant = quantOf[p[1 + 2 * i]];
      if (quant < kSlots && !quantDefined[quant]) return Fail(error, "scan uses an undefined quantisation table");
    }
    return true;
  }

  bool Run(std::string* error) {
    for (uint8_t m = NextMarker(); m != 0 && m != kEoi; m = NextMarker()) {
      const uint8_t* body = nullptr;
      size_t length = 0;
      const bool whole = Segment(&body, &length);
      if (m == kDht && !whole) return Fail(error, "Huffman table cut short");
      if (!whole) return true;  // stb reads no further
      if (m >= kSof0 && m <= kSof2) {
        progressive = m == kSof2;
        FrameComponents(body, length);
      }
      if (m == kDqt && !QuantTables(body, length)) return true;
      if (m == kDht && !HuffmanTables(body, length, error)) return false;
      if (m == kSos && !ScanTables(body, length, error)) return false;
    }
    return true;
  }
};

// Where the markers start, after the start-of-image marker (fill bytes may
// come before it); 0 for a file that is no JPEG.
size_t AfterStartOfImage(const uint8_t* data, size_t size) {
  size_t i = 0;
  while (i < size && data[i] == 0xFF) ++i;
  return i > 0 && i < size && data[i] == 0xD8 ? i + 1 : 0;
}

}  // namespace

bool CheckJpegTables(const uint8_t* data, size_t size, std::string* error) {
  JpegWalk walk{data, size, AfterStartOfImage(data, size)};
  return walk.pos == 0 || walk.Run(error);
}

}  // namespace corvane::d3dx9
