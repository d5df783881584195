// libFuzzer target: any bytes as a picture file through the texture loader,
// everything it does before the device upload (read, decode, colour key,
// placement or scaling, every mip level), with the sizes the game asks for
// and with the file's own size.
#include <cstdint>
#include <cstdio>
#include <string>

#include "d3dx9/texture_image.h"
#include "input_file.h"

namespace {

void AllLevels(corvane::d3dx9::DecodedImage level) {
  while (level.width > 1 || level.height > 1) level = corvane::d3dx9::HalveImage(level);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteInputFile("input.bmp", data, size);
  if (path.empty()) return 0;

  corvane::d3dx9::DecodedImage level0;
  D3DXIMAGE_INFO info = {};
  // As the catalogue loads: a fixed size, no scaling, a colour key.
  if (FAILED(corvane::d3dx9::TextureImageFromFile(path.c_str(), 64, 32, D3DX_FILTER_NONE, 0xFFFF00FF, &info, &level0)))
    return 0;
  AllLevels(level0);
  // As a mesh's texture loads: the file's size to a power of two, filtered.
  // Large pictures are left out only to keep the run fast.
  if (info.Width * info.Height <= 256 * 256 &&
      SUCCEEDED(corvane::d3dx9::TextureImageFromFile(path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                                     &level0)))
    AllLevels(level0);
  return 0;
}
