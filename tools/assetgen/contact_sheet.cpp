// The review page: every texture of a data folder on one labelled PNG, each
// on a checker so see-through parts show, with its file name and size below.
#include <algorithm>
#include <cstdio>

#include "assetgen.h"
#include "text_baker.h"
#include "textures.h"

#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {

constexpr int kSheetWidth = 1840;
constexpr int kGap = 16;
constexpr int kLabelHeight = 22;

// Loads a texture as the game sees it: key colours become transparent.
bool LoadForSheet(const std::string& path, uint32_t key, Image& out) {
  int w, h, n;
  unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 4);
  if (!data) {
    std::fprintf(stderr, "assetgen: contact sheet cannot read %s: %s\n", path.c_str(),
                 stbi_failure_reason());
    return false;
  }
  out = MakeImage(w, h);
  for (int i = 0; i < w * h; ++i) {
    unsigned char* p = data + 4 * i;
    bool keyed = (key == KEY_MAGENTA && p[0] == 255 && p[1] == 0 && p[2] == 255) ||
                 (key == KEY_BLACK && p[0] == 0 && p[1] == 0 && p[2] == 0);
    out.px[size_t(i)] = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, keyed ? 0.0f : p[3] / 255.0f};
  }
  stbi_image_free(data);
  return true;
}

void DrawOnChecker(Image& sheet, const Image& tex, int ox, int oy) {
  for (int y = 0; y < tex.h; ++y)
    for (int x = 0; x < tex.w; ++x) {
      int tx = ox + x, ty = oy + y;
      if (tx >= sheet.w || ty >= sheet.h) continue;
      float c = ((x / 8 + y / 8) & 1) ? 0.36f : 0.24f;
      const Rgba& s = At(tex, x, y);
      At(sheet, tx, ty) = {Mix(c, s.r, s.a), Mix(c, s.g, s.a), Mix(c, s.b, s.a), 1.0f};
    }
}

}  // namespace

bool WriteContactSheet(const std::string& dataDir, const std::string& pngPath) {
  struct Placed {
    Image image;
    std::string label;
    int x, y;
  };
  std::vector<Placed> placed;
  int x = kGap, y = kGap, shelf = 0;
  for (const TextureRow& entry : TEXTURE_TABLE) {
    Image tex;
    if (!LoadForSheet(dataDir + "/" + entry.fileName, entry.colorKey, tex)) continue;
    // Tiny sprites are shown enlarged so their shape can be judged.
    int zoom = std::max(1, std::min(8, 64 / std::max(tex.w, tex.h)));
    if (zoom > 1) tex = Resize(tex, tex.w * zoom, tex.h * zoom);
    int cellW = std::max(tex.w, 150);
    if (x + cellW + kGap > kSheetWidth) {
      x = kGap;
      y += shelf + kLabelHeight + kGap;
      shelf = 0;
    }
    char label[160];
    const char* key = entry.colorKey == KEY_MAGENTA ? "  key FF00FF"
                      : entry.colorKey == KEY_BLACK ? "  key 000000" : "";
    std::snprintf(label, sizeof label, "%s  %ux%u%s", entry.fileName + 4, entry.width, entry.height, key);
    placed.push_back({tex, label, x, y});
    x += cellW + kGap;
    shelf = std::max(shelf, tex.h);
  }
  int height = y + shelf + kLabelHeight + kGap;
  Image sheet = MakeImage(kSheetWidth, height, {0.07f, 0.08f, 0.1f, 1.0f});
  for (const Placed& p : placed) {
    DrawOnChecker(sheet, p.image, p.x, p.y);
    Mask text = BakeTextLeft(FONT_TECH, p.label, 400, kLabelHeight, 11.0f, 1.0f);
    Paint(sheet, text, {0.85f, 0.9f, 0.95f, 1.0f}, p.x, p.y + p.image.h + 2);
  }
  if (!WritePngRgba(sheet, pngPath)) return false;
  std::printf("contact sheet: %zu textures on %dx%d, %s\n", placed.size(), sheet.w, sheet.h,
              pngPath.c_str());
  return placed.size() == size_t(TEXTURE_COUNT);
}
