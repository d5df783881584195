// Picture files (BMP, PNG and what else stb_image reads) decoded to RGBA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::d3dx9 {

struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // width*height*4 bytes, top row first
};

// Decodes a whole file image. Pixels of formats without alpha read as
// opaque, as D3DX reads them (X8R8G8B8 and the like). On failure returns
// false and says why in *error.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage* out, std::string* error);

// The BMP decoder used where stb_image refuses files Windows reads: RLE4/RLE8
// and files whose pixels do not follow the palette directly. Bounds-checked
// throughout; refuses what it cannot read.
bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage* out, std::string* error);

// False, with the reason, for a BMP whose header is broken or claims more
// pixels than the file holds (checked before anything is allocated).
bool CheckBmpFits(const uint8_t* data, size_t size, std::string* error);

// False, with the reason, for a JPEG whose Huffman tables stb_image would
// build out of bounds (counts past 256 codes, lengths overflowing their code
// space, values past the segment) or whose scans use a table never defined.
// Anything that is no JPEG passes.
bool CheckJpegTables(const uint8_t* data, size_t size, std::string* error);

// True when the PNG had empty image-data chunks; *out then holds it without
// them (they carry no data, and stb_image mishandles them).
bool DropEmptyPngDataChunks(const uint8_t* data, size_t size, std::vector<uint8_t>* out);

// True for a BMP whose pixel format has an alpha channel (an alpha mask);
// stb_image otherwise treats a 32-bit file's spare byte as alpha.
bool BmpHasAlpha(const uint8_t* data, size_t size);

}  // namespace corvane::d3dx9
