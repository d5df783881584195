// Picture decoding: stb_image for PNG, JPEG and most BMPs, our own BMP
// decoder for the BMPs stb_image refuses but Windows reads. Headers stb_image
// would trust too far are checked first.
#include "d3dx9/image_decode.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace corvane::d3dx9 {
namespace {

// What one stb_image allocation may take while a picture decodes. A valid
// picture never needs more than a few times its decoded size, but stb_image
// trusts a PNG's chunk lengths and grows its inflate buffer as long as the
// compressed data goes on: a file of a few bytes could claim gigabytes.
thread_local size_t t_allocationLimit = SIZE_MAX;
thread_local bool t_allocationRefused = false;

bool Allowed(size_t size) {
  if (size <= t_allocationLimit) return true;
  t_allocationRefused = true;
  return false;
}

}  // namespace

void* StbAllocate(size_t size) { return Allowed(size) ? std::malloc(size) : nullptr; }
void* StbReallocate(void* block, size_t size) { return Allowed(size) ? std::realloc(block, size) : nullptr; }

}  // namespace corvane::d3dx9

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#define STBI_MALLOC(size) corvane::d3dx9::StbAllocate(size)
#define STBI_REALLOC(block, size) corvane::d3dx9::StbReallocate(block, size)
#define STBI_FREE(block) std::free(block)
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace corvane::d3dx9 {
namespace {

// Images beyond this are refused before decoding (D3D9's largest texture is
// far smaller; a header claiming more is damaged).
constexpr int kMaxDimension = 16384;
// And a picture of more than 4096 x 4096 pixels (64 MiB once decoded) is
// refused too: a small, very compressible file could otherwise claim a
// gigabyte of memory.
constexpr uint64_t kMaxPixels = uint64_t(4096) * 4096;
// Deflate expands at most about 1032 to 1, and a byte holds up to eight
// pixels: a compressed picture claiming more pixels than this per byte of
// file is damaged, and is refused before its pixels are allocated.
constexpr uint64_t kMaxPixelsPerByte = 1032 * 8;
// Each stb_image allocation is held to this many bytes a pixel (16-bit RGBA
// with room for its compressed and filtered copies) plus some slack, or to
// the slack alone when the header cannot be read.
constexpr size_t kAllocationBytesPerPixel = 16;
constexpr size_t kAllocationSlack = size_t(1) << 20;

bool IsBmp(const uint8_t* data, size_t size) { return size >= 2 && data[0] == 'B' && data[1] == 'M'; }

}  // namespace

bool DecodeImage(const uint8_t* data, size_t size, DecodedImage* out, std::string* error) {
  if (!data || size == 0) {
    if (error) *error = "empty file";
    return false;
  }
  if (size > size_t(INT32_MAX)) {
    if (error) *error = "file too large";
    return false;
  }
  std::string bmp_error;
  if (IsBmp(data, size) && !CheckBmpFits(data, size, &bmp_error)) {
    if (error) *error = bmp_error;
    return false;
  }
  if (!CheckJpegTables(data, size, error)) return false;
  std::vector<uint8_t> withoutEmptyChunks;
  if (DropEmptyPngDataChunks(data, size, &withoutEmptyChunks)) {
    data = withoutEmptyChunks.data();
    size = withoutEmptyChunks.size();
  }
  int w = 0, h = 0, comp = 0;
  t_allocationLimit = kAllocationSlack;
  if (stbi_info_from_memory(data, int(size), &w, &h, &comp)) {
    // stb_image's info gives a top-down BMP's height as negative.
    const auto magnitude = [](int v) { return v == INT_MIN ? INT_MAX : std::abs(v); };
    w = magnitude(w);
    h = magnitude(h);
    if (w > kMaxDimension || h > kMaxDimension || uint64_t(w) * uint64_t(h) > kMaxPixels) {
      if (error) *error = "image too large";
      return false;
    }
    if (uint64_t(w) * uint64_t(h) > uint64_t(size) * kMaxPixelsPerByte) {
      if (error) *error = "picture data cut short";
      return false;
    }
    t_allocationLimit += size_t(w) * size_t(h) * kAllocationBytesPerPixel;
  }
  t_allocationRefused = false;
  stbi_uc* pixels = stbi_load_from_memory(data, int(size), &w, &h, &comp, 4);
  t_allocationLimit = SIZE_MAX;
  if (!pixels) {
    if (t_allocationRefused) {
      if (error) *error = "picture data larger than its size allows";
      return false;
    }
    const char* reason = stbi_failure_reason();
    if (IsBmp(data, size)) {
      if (DecodeBmp(data, size, out, &bmp_error)) return true;
      if (error) *error = bmp_error;
      return false;
    }
    if (error) *error = reason ? reason : "unreadable image";
    return false;
  }
  out->width = w;
  out->height = h;
  out->rgba.assign(pixels, pixels + size_t(w) * h * 4);
  stbi_image_free(pixels);
  // stb_image may read a BMP's spare byte as alpha; Windows does not.
  if (IsBmp(data, size) && !BmpHasAlpha(data, size)) {
    for (size_t i = 3; i < out->rgba.size(); i += 4) out->rgba[i] = 255;
  }
  return true;
}

}  // namespace corvane::d3dx9
