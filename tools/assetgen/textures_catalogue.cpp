#include <chrono>
#include <cstdio>
#include <filesystem>

#include "assetgen.h"
#include "textures.h"

void KeyOutside(Image& img, const Mask& opaque) {
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      Rgba& p = At(img, x, y);
      if (At(opaque, x, y) < 0.5f) {
        p = kMagenta;
        continue;
      }
      // Keep art well clear of the key: a strongly magenta pixel loses some red.
      if (p.r > 0.85f && p.b > 0.85f && p.g < 0.15f) p.r = 0.8f;
    }
}

void BlackKeyOutside(Image& img, const Mask& opaque) {
  const float lift = 1.0f / 255.0f;
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      Rgba& p = At(img, x, y);
      if (At(opaque, x, y) < 0.5f) {
        p = {0, 0, 0, 1};
        continue;
      }
      if (ToByte(p.r) == 0 && ToByte(p.g) == 0 && ToByte(p.b) == 0) p = {lift, lift, lift, 1};
    }
}

namespace {

bool WriteTexture(const std::string& outDir, const TextureFile& tex) {
  std::string path = outDir + "/" + tex.name;
  if (path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0)
    return WritePngRgba(tex.image, path);
  return WriteBmp24(tex.image, path);
}

}  // namespace

void GenerateTextures(const std::string& outDir) {
  std::error_code ec;
  std::filesystem::create_directories(outDir + "/bmp", ec);
  if (ec) {
    std::fprintf(stderr, "assetgen: cannot create %s/bmp: %s\n", outDir.c_str(), ec.message().c_str());
    return;
  }
  using Group = void (*)(std::vector<TextureFile>&);
  const std::pair<const char*, Group> groups[] = {
      {"text", MakeTextTextures},          {"hud", MakeHudTextures}, {"icons", MakeIconTextures},
      {"effects", MakeEffectTextures},     {"backgrounds", MakeBackgroundTextures},
      {"title", MakeTitleTexture},
  };
  std::vector<TextureFile> made;
  for (const auto& [label, make] : groups) {
    auto t0 = std::chrono::steady_clock::now();
    size_t before = made.size();
    make(made);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("textures/%-12s %2zu files %8.1f ms\n", label, made.size() - before, ms);
  }
  int written = 0;
  for (const TextureRow& row : TEXTURE_TABLE) {
    const TextureFile* found = nullptr;
    for (const TextureFile& tex : made)
      if (tex.name == row.fileName) found = &tex;
    if (!found) {
      std::fprintf(stderr, "assetgen: no picture made for %s\n", row.fileName);
      continue;
    }
    if (found->image.w != int(row.width) || found->image.h != int(row.height))
      std::fprintf(stderr, "assetgen: %s is %dx%d, the catalogue asks %ux%u\n", row.fileName,
                   found->image.w, found->image.h, row.width, row.height);
    if (WriteTexture(outDir, *found)) ++written;
  }
  std::printf("textures: %d of %d written to %s/bmp\n", written, TEXTURE_COUNT, outDir.c_str());
}
