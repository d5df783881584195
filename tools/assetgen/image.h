// Float RGBA canvases and coverage masks for the texture generator, with the
// few drawing helpers the texture groups share and the BMP/PNG writers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgba {
  float r = 0, g = 0, b = 0, a = 1;
};

// Linear-light is not attempted: values are display values in 0..1 and may
// exceed 1 while composing; writers clamp.
struct Image {
  int w = 0, h = 0;
  std::vector<Rgba> px;
};

// Coverage or intensity, one float per pixel.
struct Mask {
  int w = 0, h = 0;
  std::vector<float> v;
};

Image MakeImage(int w, int h, Rgba fill = {0, 0, 0, 1});
Mask MakeMask(int w, int h, float fill = 0.0f);

inline Rgba& At(Image& img, int x, int y) { return img.px[size_t(y) * img.w + x]; }
inline const Rgba& At(const Image& img, int x, int y) { return img.px[size_t(y) * img.w + x]; }
inline float& At(Mask& m, int x, int y) { return m.v[size_t(y) * m.w + x]; }
inline float At(const Mask& m, int x, int y) { return m.v[size_t(y) * m.w + x]; }

float Clamp01(float v);
float Smoothstep(float e0, float e1, float x);
float Mix(float a, float b, float t);
Rgba Mix(const Rgba& a, const Rgba& b, float t);
Rgba Scale(const Rgba& c, float k);
uint8_t ToByte(float v);

// Every pixel centre (x + 0.5, y + 0.5) evaluated: coverage of the shape whose
// signed distance (negative inside, in pixels) the function returns.
Mask ShapeMask(int w, int h, const std::function<float(float, float)>& sdf);
float SdfCoverage(float d);

// Signed distances, negative inside.
float SdCircle(float x, float y, float cx, float cy, float r);
float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius = 0.0f);
float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth);
float SdPolygon(float x, float y, const std::vector<float>& xy);  // x0,y0,x1,y1,...

Mask Dilate(const Mask& m, float radius);
Mask Blur(const Mask& m, float sigma);
Mask Union(const Mask& a, const Mask& b);
Mask Subtract(const Mask& a, const Mask& b);
// Box-filters an integer-factor supersampled mask down.
Mask Downsample(const Mask& m, int factor);

// Paints colour c over img where the mask covers, weighted by coverage
// (ordinary "over"), with the mask's origin placed at (ox, oy).
void Paint(Image& img, const Mask& m, const Rgba& c, int ox = 0, int oy = 0);
// Adds colour c times the mask (additive light).
void AddLight(Image& img, const Mask& m, const Rgba& c, int ox = 0, int oy = 0);
// Copies src into dst at (ox, oy).
void Blit(Image& dst, const Image& src, int ox, int oy);
// Bilinear resample to a new size (for previews and the contact sheet).
Image Resize(const Image& src, int w, int h);

// Writers: 24-bit BI_RGB bottom-up BMP and 8-bit RGBA PNG. Both report a
// failure on stderr and return false.
bool WriteBmp24(const Image& img, const std::string& path);
bool WritePngRgba(const Image& img, const std::string& path);
