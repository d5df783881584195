// The program's icon: the ship emblem on a night-blue disc, as icon.png
// (256 x 256 RGBA, for the window and the desktop) and icon.ico (PNG
// entries at 256, 48, 32 and 16 pixels, for the Windows resource).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "assetgen.h"
#include "image.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

constexpr int kSize = 256;

// The mode-select run badge's ship, doubled and centred.
float ShipShape(float x, float y) {
  std::vector<float> xy = {64, 28, 80, 74, 72, 70, 64, 78, 56, 70, 48, 74};
  for (size_t i = 0; i < xy.size(); i += 2) {
    xy[i] = (xy[i] - 64) * 2.4f + 128;
    xy[i + 1] = (xy[i + 1] - 53) * 2.4f + 128;
  }
  return SdPolygon(x, y, xy);
}

Image DrawIcon() {
  Image img = MakeImage(kSize, kSize, {0, 0, 0, 0});
  Mask disc = ShapeMask(kSize, kSize, [](float x, float y) { return SdCircle(x, y, 128, 128, 122); });
  Mask rim = ShapeMask(kSize, kSize, [](float x, float y) { return std::fabs(SdCircle(x, y, 128, 128, 114)) - 4; });
  Mask ship = ShapeMask(kSize, kSize, ShipShape);
  Mask glow = Blur(Dilate(ship, 4.0f), 10.0f);
  Mask rocks = ShapeMask(kSize, kSize, [](float x, float y) {
    return std::min(SdCircle(x, y, 62, 96, 16), SdCircle(x, y, 196, 150, 12));
  });
  Mask trail = ShapeMask(kSize, kSize, [](float x, float y) {
    return std::min(SdSegment(x, y, 114, 190, 114, 226, 3.5f), SdSegment(x, y, 142, 190, 142, 226, 3.5f));
  });
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      float r = std::hypot(x + 0.5f - 128, y + 0.5f - 100) / 150.0f;
      float v = Mix(0.16f, 0.03f, Clamp01(r));
      At(img, x, y) = {v * 0.7f, v * 0.85f, v * 1.5f, At(disc, x, y)};
    }
  const Rgba cyan{0.45f, 0.88f, 1.0f, 1};
  Paint(img, rocks, {0.34f, 0.3f, 0.36f, 1});
  AddLight(img, glow, Scale(cyan, 0.55f));
  Paint(img, trail, {0.75f, 0.95f, 1.0f, 1});
  Paint(img, ship, {0.9f, 0.97f, 1.0f, 1});
  Paint(img, rim, cyan);
  for (int i = 0; i < kSize * kSize; ++i) img.px[i].a = At(disc, i % kSize, i / kSize);
  return img;
}

std::vector<uint8_t> PngBytes(const Image& img) {
  std::vector<uint8_t> rgba(size_t(img.w) * img.h * 4);
  for (size_t i = 0; i < img.px.size(); ++i) {
    rgba[4 * i + 0] = ToByte(img.px[i].r);
    rgba[4 * i + 1] = ToByte(img.px[i].g);
    rgba[4 * i + 2] = ToByte(img.px[i].b);
    rgba[4 * i + 3] = ToByte(img.px[i].a);
  }
  int length = 0;
  unsigned char* png = stbi_write_png_to_mem(rgba.data(), img.w * 4, img.w, img.h, 4, &length);
  std::vector<uint8_t> bytes(png, png + (png ? length : 0));
  STBIW_FREE(png);
  return bytes;
}

void PutLittle(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// ICONDIR, one ICONDIRENTRY per size, then the PNG streams.
bool WriteIco(const Image& img, const std::string& path) {
  std::vector<std::vector<uint8_t>> images;
  std::vector<int> sizes = {256, 48, 32, 16};
  for (int size : sizes) images.push_back(PngBytes(size == img.w ? img : Resize(img, size, size)));
  std::vector<uint8_t> out;
  PutLittle(out, 0, 2);
  PutLittle(out, 1, 2);
  PutLittle(out, uint32_t(sizes.size()), 2);
  uint32_t offset = uint32_t(6 + 16 * sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    out.push_back(uint8_t(sizes[i] & 0xFF));  // 0 stands for 256
    out.push_back(uint8_t(sizes[i] & 0xFF));
    out.push_back(0);
    out.push_back(0);
    PutLittle(out, 1, 2);
    PutLittle(out, 32, 2);
    PutLittle(out, uint32_t(images[i].size()), 4);
    PutLittle(out, offset, 4);
    offset += uint32_t(images[i].size());
  }
  for (const auto& png : images) out.insert(out.end(), png.begin(), png.end());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  bool ok = f && std::fwrite(out.data(), 1, out.size(), f) == out.size();
  if (f && std::fclose(f) != 0) ok = false;
  if (!ok) std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
  return ok;
}

}  // namespace

void GenerateProgramIcon(const std::string& outDir) {
  Image icon = DrawIcon();
  bool ok = WritePngRgba(icon, outDir + "/icon.png") && WriteIco(icon, outDir + "/icon.ico");
  std::printf("icon: %s\n", ok ? "icon.png, icon.ico" : "FAILED");
}
