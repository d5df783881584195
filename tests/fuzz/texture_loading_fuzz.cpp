// libFuzzer target: any bytes as a picture file through the texture loader,
// everything it does before the device upload (read, decode, colour key,
// placement or scaling, every mip level), with the sizes the game asks for
// and with the file's own size. Before fuzzing it loads the hostile JPEGs,
// each of which must be refused, and the valid grey one, which must load;
// with CORVANE_FUZZ_SEEDS naming a folder it writes them all there to seed
// the run, whatever other seeds there are.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "d3dx9/texture_image.h"
#include "hostile_jpegs.h"
#include "input_file.h"
#include "internal/d3d9_device.h"

// The target stops before the device upload, so there is no device to fill a
// level of; the loader's file-to-texture entry point still links against it.
HRESULT corvane::d3d9::FillTextureLevel(IDirect3DTexture9*, UINT, const uint8_t*) { return E_NOTIMPL; }

namespace {

void AllLevels(corvane::d3dx9::DecodedImage level) {
  while (level.width > 1 || level.height > 1) level = corvane::d3dx9::HalveImage(level);
}

bool Loads(const std::string& bytes) {
  const std::string path = WriteInputFile("input.jpg", bytes.data(), bytes.size());
  corvane::d3dx9::DecodedImage image;
  return !path.empty() && SUCCEEDED(corvane::d3dx9::TextureImageFromFile(path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT,
                                                                         D3DX_FILTER_NONE, 0, nullptr, &image));
}

void WriteSeed(const char* dir, const std::string& name, const std::string& bytes) {
  std::FILE* f = std::fopen((std::string(dir) + "/" + name).c_str(), "wb");
  const bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (!(f && std::fclose(f) == 0 && written))
    std::fprintf(stderr, "texture fuzz: cannot write the seed %s in %s\n", name.c_str(), dir);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* seeds = std::getenv("CORVANE_FUZZ_SEEDS");
  if (!Loads(GreyJpeg())) {
    std::fprintf(stderr, "texture fuzz: the valid grey JPEG was refused\n");
    std::abort();
  }
  if (seeds) WriteSeed(seeds, "grey.jpg", GreyJpeg());
  // A PNG with an empty image-data chunk: stb_image copied it from a null
  // pointer, which the undefined-behaviour sanitizer stops on.
  const std::string emptyChunkPng(
      "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0 \0\0\0 \x01\x03\0\0\0I\xB4\xE8\xB7\0\0\0\x04gAMA\0\x01\x86\xA0"
      "1\xE8\x96_\0\0\0\x06PLTE\xEE\xFF\"\"f\xFFp\0\0\0\0\0\0\0IDATx\x9C" "c\xE0\x07\x02\x06" "4\xE2\x03\x10\xA0"
      "\x13\x03\xA4\x0E\0\xBB\x1F?\xC1\x93\x82" "fY\0\0\0\0IEND\xAE" "B`\x82",
      112);
  // And one whose file ends inside that chunk's CRC.
  const std::string emptyChunkCutPng = emptyChunkPng.substr(0, 75) + "B`\x82";
  for (const auto& [name, png] : {std::pair{"empty-data-chunk.png", emptyChunkPng},
                                  std::pair{"empty-data-chunk-cut.png", emptyChunkCutPng}}) {
    Loads(png);
    if (seeds) WriteSeed(seeds, name, png);
  }
  for (const HostileJpeg& jpeg : HostileJpegs()) {
    if (Loads(jpeg.bytes)) {
      std::fprintf(stderr, "texture fuzz: %s was not refused\n", jpeg.name.c_str());
      std::abort();
    }
    if (seeds) WriteSeed(seeds, jpeg.name, jpeg.bytes);
  }
  return 0;
}

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
