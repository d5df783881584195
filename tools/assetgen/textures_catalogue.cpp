#include <chrono>
#include <cstdio>
#include <filesystem>

#include "assetgen.h"
#include "textures.h"

const std::vector<CatalogueEntry>& TextureCatalogue() {
  static const std::vector<CatalogueEntry> entries = {
      {"bmp/123.bmp", 384, 64, KEY_MAGENTA_FF00FF},
      {"bmp/321.bmp", 384, 128, KEY_NO},
      {"bmp/asist.bmp", 256, 256, KEY_BLACK_000000},
      {"bmp/Ghost.bmp", 80, 60, KEY_NO},
      {"bmp/Smoke2.bmp", 256, 256, KEY_NO},
      {"bmp/BLight.bmp", 16, 16, KEY_NO},
      {"bmp/effect2.bmp", 64, 64, KEY_NO},
      {"bmp/ene4.bmp", 220, 80, KEY_MAGENTA_FF00FF},
      {"bmp/moji2.bmp", 512, 480, KEY_NO},
      {"bmp/dam2.bmp", 1, 1, KEY_NO},
      {"bmp/Star.bmp", 64, 64, KEY_NO},
      {"bmp/effect1.bmp", 64, 64, KEY_NO},
      {"bmp/ene2.bmp", 200, 50, KEY_NO},
      {"bmp/s.bmp", 768, 128, KEY_NO},
      {"bmp/kaze3.bmp", 64, 64, KEY_NO},
      {"bmp/frame.bmp", 220, 80, KEY_MAGENTA_FF00FF},
      {"bmp/oph.bmp", 800, 600, KEY_NO},
      {"bmp/opmoji.bmp", 512, 494, KEY_NO},
      {"bmp/select.bmp", 512, 128, KEY_MAGENTA_FF00FF},
      {"bmp/SStar.bmp", 128, 32, KEY_NO},
      {"bmp/baku1.bmp", 1600, 100, KEY_NO},
      {"bmp/back1.bmp", 235, 235, KEY_NO},
      {"bmp/back2.bmp", 256, 256, KEY_NO},
      {"bmp/back3.bmp", 436, 235, KEY_NO},
      {"bmp/back4.bmp", 447, 275, KEY_NO},
      {"bmp/back6.bmp", 374, 241, KEY_NO},
      {"bmp/earth.bmp", 235, 235, KEY_NO},
      {"bmp/return.bmp", 256, 64, KEY_BLACK_000000},
      {"bmp/trophy.bmp", 100, 100, KEY_BLACK_000000},
      {"bmp/vec.bmp", 320, 64, KEY_BLACK_000000},
      {"bmp/lock.bmp", 64, 64, KEY_NO},
      {"bmp/animation_explosion005.png", 960, 960, KEY_NO},
  };
  return entries;
}

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
  for (const CatalogueEntry& entry : TextureCatalogue()) {
    const TextureFile* found = nullptr;
    for (const TextureFile& tex : made)
      if (tex.name == entry.name) found = &tex;
    if (!found) {
      std::fprintf(stderr, "assetgen: no picture made for %s\n", entry.name);
      continue;
    }
    if (found->image.w != entry.width || found->image.h != entry.height)
      std::fprintf(stderr, "assetgen: %s is %dx%d, the catalogue asks %dx%d\n", entry.name,
                   found->image.w, found->image.h, entry.width, entry.height);
    if (WriteTexture(outDir, *found)) ++written;
  }
  std::printf("textures: %d of %zu written to %s/bmp\n", written, TextureCatalogue().size(),
              outDir.c_str());
}
