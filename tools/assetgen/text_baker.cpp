#include "text_baker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

#ifndef CORVANE_FONT_DIR
#define CORVANE_FONT_DIR "/usr/share/fonts"
#endif

namespace {

constexpr int kSuper = 4;  // supersampling factor; box-filtered down

struct Face {
  bool loaded = false;
  std::string path;
  std::vector<unsigned char> bytes;
  stbtt_fontinfo info{};
};

const char* FileFor(FontRole role) {
  switch (role) {
    case FONT_TITLE: return "LeagueSpartan-Black.otf";
    case FONT_HEAVY: return "LeagueSpartan-Bold.otf";
    case FONT_TECH: return "Jura-Bold.otf";
    case FONT_ROLE_COUNT: break;
  }
  return "";
}

std::string FindFontFile(const std::string& name) {
  const char* env = std::getenv("CORVANE_FONT_DIR");
  std::string root = env && *env ? env : CORVANE_FONT_DIR;
  std::error_code ec;
  std::string best;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->path().filename() == name) {
      std::string p = it->path().string();
      if (best.empty() || p < best) best = p;  // same pick whatever the walk order
    }
  }
  return best;
}

bool LoadFace(Face& face, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  face.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (face.bytes.empty()) return false;
  int offset = stbtt_GetFontOffsetForIndex(face.bytes.data(), 0);
  if (offset < 0 || !stbtt_InitFont(&face.info, face.bytes.data(), offset)) return false;
  face.path = path;
  face.loaded = true;
  return true;
}

const Face& FaceFor(FontRole role) {
  static Face faces[FONT_ROLE_COUNT];
  Face& face = faces[role];
  if (face.loaded || !face.path.empty()) return face;
  std::string wanted = FileFor(role);
  std::string path = FindFontFile(wanted);
  if (!path.empty() && LoadFace(face, path)) return face;
  std::fprintf(stderr, "assetgen: font %s not found under CORVANE_FONT_DIR; using DejaVu Sans Bold\n",
               wanted.c_str());
  std::string fallback = FindFontFile("DejaVuSans-Bold.ttf");
  if (fallback.empty() || !LoadFace(face, fallback)) {
    std::fprintf(stderr, "assetgen: no usable font; text bands stay empty\n");
    face.path = "(none)";
  }
  return face;
}

struct Layout {
  std::vector<int> codepoints;
  std::vector<float> penX;  // pen position of each glyph, in pixels at scale
  float inkX0 = 0, inkX1 = 0, inkY0 = 0, inkY1 = 0;
};

// One line at the given scale (pixels per font unit), baseline at y = 0.
Layout LayOut(const Face& face, const std::string& text, float scale, float tracking) {
  Layout lay;
  for (unsigned char ch : text) lay.codepoints.push_back(ch);
  float pen = 0.0f;
  bool any = false;
  for (size_t i = 0; i < lay.codepoints.size(); ++i) {
    int cp = lay.codepoints[i];
    lay.penX.push_back(pen);
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBoxSubpixel(&face.info, cp, scale, scale, pen - std::floor(pen), 0, &x0,
                                        &y0, &x1, &y1);
    if (x1 > x0 && y1 > y0) {
      float fx0 = std::floor(pen) + x0, fx1 = std::floor(pen) + x1;
      if (!any) {
        lay.inkX0 = fx0, lay.inkX1 = fx1, lay.inkY0 = float(y0), lay.inkY1 = float(y1);
        any = true;
      } else {
        lay.inkX0 = std::min(lay.inkX0, fx0);
        lay.inkX1 = std::max(lay.inkX1, fx1);
        lay.inkY0 = std::min(lay.inkY0, float(y0));
        lay.inkY1 = std::max(lay.inkY1, float(y1));
      }
    }
    int advance, lsb;
    stbtt_GetCodepointHMetrics(&face.info, cp, &advance, &lsb);
    pen += advance * scale + tracking;
    if (i + 1 < lay.codepoints.size())
      pen += stbtt_GetCodepointKernAdvance(&face.info, cp, lay.codepoints[i + 1]) * scale;
  }
  return lay;
}

float CapUnits(const Face& face) {
  int x0, y0, x1, y1;
  if (stbtt_GetCodepointBox(&face.info, 'H', &x0, &y0, &x1, &y1) && y1 > 0) return float(y1);
  int ascent, descent, gap;
  stbtt_GetFontVMetrics(&face.info, &ascent, &descent, &gap);
  return float(ascent) * 0.7f;
}

// Renders the laid-out line into a supersampled mask with its ink's left
// edge at inkLeft and its baseline at y = baseline (below 0: the ink box
// centred vertically), then filters it down.
Mask Render(const Face& face, const Layout& lay, float scale, int boxW, int boxH, float inkLeft,
            float baseline) {
  Mask big = MakeMask(boxW * kSuper, boxH * kSuper);
  float shiftX = inkLeft * kSuper - lay.inkX0;
  float shiftY = baseline >= 0.0f ? baseline * kSuper
                                  : (boxH * kSuper - (lay.inkY1 - lay.inkY0)) * 0.5f - lay.inkY0;
  float baseY = std::round(shiftY);
  for (size_t i = 0; i < lay.codepoints.size(); ++i) {
    float pen = lay.penX[i] + shiftX;
    float ipen = std::floor(pen);
    int w, h, xoff, yoff;
    unsigned char* bmp = stbtt_GetCodepointBitmapSubpixel(&face.info, scale, scale, pen - ipen, 0,
                                                          lay.codepoints[i], &w, &h, &xoff, &yoff);
    if (!bmp) continue;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int tx = int(ipen) + xoff + x, ty = int(baseY) + yoff + y;
        if (tx < 0 || ty < 0 || tx >= big.w || ty >= big.h) continue;
        float& d = At(big, tx, ty);
        d = std::max(d, bmp[y * w + x] / 255.0f);
      }
    stbtt_FreeBitmap(bmp, nullptr);
  }
  return Downsample(big, kSuper);
}

// left < 0 centres the ink; otherwise the ink starts at x = left.
Mask Bake(FontRole role, const std::string& text, int boxW, int boxH, float capPx, float margin,
          float tracking, float left) {
  const Face& face = FaceFor(role);
  if (!face.loaded || text.empty()) return MakeMask(boxW, boxH);
  float scale = capPx * kSuper / CapUnits(face);
  Layout lay = LayOut(face, text, scale, tracking * kSuper);
  // Shrink until the ink fits inside the box less its margins.
  float availW = (boxW - margin - std::max(margin, left)) * kSuper;
  float availH = (boxH - 2.0f * margin) * kSuper;
  for (int tries = 0; tries < 8; ++tries) {
    float fw = (lay.inkX1 - lay.inkX0) / availW, fh = (lay.inkY1 - lay.inkY0) / availH;
    float over = std::max(fw, fh);
    if (over <= 1.0f) break;
    scale *= 0.98f / over;
    lay = LayOut(face, text, scale, tracking * kSuper * 0.98f / over);
  }
  float inkW = (lay.inkX1 - lay.inkX0) / kSuper;
  if (left < 0.0f) left = std::round((boxW - inkW) * 0.5f * kSuper) / kSuper;
  return Render(face, lay, scale, boxW, boxH, left, -1.0f);
}

}  // namespace

Mask BakeTextOnBaseline(FontRole role, const std::string& text, int boxW, int boxH, float capPx,
                        float baseline) {
  const Face& face = FaceFor(role);
  if (!face.loaded || text.empty()) return MakeMask(boxW, boxH);
  float scale = capPx * kSuper / CapUnits(face);
  Layout lay = LayOut(face, text, scale, 0.0f);
  float inkW = (lay.inkX1 - lay.inkX0) / kSuper;
  float left = std::round((boxW - inkW) * 0.5f * kSuper) / kSuper;
  return Render(face, lay, scale, boxW, boxH, left, baseline);
}

std::string FontPath(FontRole role) { return FaceFor(role).path; }

Mask BakeText(FontRole role, const std::string& text, int boxW, int boxH, float capPx, float margin,
              float tracking) {
  return Bake(role, text, boxW, boxH, capPx, margin, tracking, -1.0f);
}

Mask BakeTextLeft(FontRole role, const std::string& text, int boxW, int boxH, float capPx,
                  float left, float tracking) {
  return Bake(role, text, boxW, boxH, capPx, 2.0f, tracking, left);
}
