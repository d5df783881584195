// The title illustration: a ringless giant's lit limb at the lower right, a
// violet-magenta nebula, a star field and the ship's silhouette racing up
// toward the light. The lettering band at the top and the menu at the bottom
// stay dark so the additive words read over them.
#include <cmath>

#include "noise.h"
#include "textures.h"

namespace {

constexpr int W = 800, H = 600;

// How much light the picture may carry at a point: low under the title
// lettering (centred at y 125, about 135 high) and around the menu words.
float Quietness(float x, float y) {
  float title = std::exp(-std::pow((y - 125.0f) / 70.0f, 2.0f));
  float mx = (x - 380.0f) / 300.0f, my = (y - 432.0f) / 95.0f;
  float menu = std::exp(-(mx * mx + my * my) * 1.6f);
  return Clamp01(1.0f - 0.8f * title - 0.75f * menu);
}

float NebulaDensity(float x, float y) {
  float u = x / 300.0f, v = y / 300.0f;
  float qx = Fbm3(u, v, 0.2f, 4, 0.5f, 901), qy = Fbm3(u + 3.1f, v + 7.7f, 0.9f, 4, 0.5f, 902);
  float n = Fbm3(u + 2.4f * qx, v + 2.4f * qy, 1.7f, 5, 0.52f, 903);
  // A band rising from the left middle to the upper right, thickest behind the ship.
  float along = (y - (430.0f - 0.38f * x)) / 150.0f;
  float band = std::exp(-along * along);
  float d = Clamp01(0.5f + 1.1f * n) * band;
  return d * d * 1.6f;
}

void PaintSky(Image& img) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float fx = x + 0.5f, fy = y + 0.5f;
      float t = fy / H;
      Rgba c{Mix(0.004f, 0.012f, t), Mix(0.006f, 0.012f, t), Mix(0.018f, 0.034f, t), 1};
      float dens = NebulaDensity(fx, fy) * Quietness(fx, fy);
      float hue = Clamp01(0.5f + 1.2f * Fbm3(fx / 220.0f, fy / 220.0f, 4.0f, 3, 0.5f, 904));
      Rgba violet{0.42f, 0.16f, 0.72f, 1}, magenta{0.85f, 0.18f, 0.52f, 1}, cyan{0.12f, 0.5f, 0.78f, 1};
      Rgba neb = hue < 0.5f ? Mix(cyan, violet, hue * 2.0f) : Mix(violet, magenta, hue * 2.0f - 1.0f);
      float fil = Ridged3(fx / 90.0f, fy / 90.0f, 2.0f, 4, 0.5f, 905);
      float k = dens * (0.55f + 0.6f * fil);
      c.r += neb.r * k;
      c.g += neb.g * k;
      c.b += neb.b * k;
      // Bright hot core of the cloud behind the ship.
      float core = std::exp(-(std::pow((fx - 640.0f) / 120.0f, 2.0f) + std::pow((fy - 225.0f) / 70.0f, 2.0f)));
      c.r += 0.2f * core * dens;
      c.g += 0.16f * core * dens;
      c.b += 0.22f * core * dens;
      At(img, x, y) = c;
    }
}

void PaintStars(Image& img) {
  Rng rng = MakeRng(0x0F57A125ull);
  for (int i = 0; i < 1900; ++i) {
    float sx = Uniform(rng, 0, W), sy = Uniform(rng, 0, H), m = std::pow(Uniform(rng), 6.0f);
    float warm = Uniform(rng);
    float q = 0.35f + 0.65f * Quietness(sx, sy);
    float sigma = 0.45f + 1.0f * m, amp = (0.12f + 1.3f * m) * q;
    Rgba tint{Mix(0.78f, 1.0f, warm), Mix(0.88f, 0.95f, warm), Mix(1.0f, 0.8f, warm), 1};
    int reach = m > 0.88f ? 14 : 3;
    for (int y = int(sy) - reach; y <= int(sy) + reach; ++y)
      for (int x = int(sx) - reach; x <= int(sx) + reach; ++x) {
        if (x < 0 || y < 0 || x >= W || y >= H) continue;
        float dx = x + 0.5f - sx, dy = y + 0.5f - sy;
        float k = amp * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma));
        if (m > 0.88f) {  // diffraction spikes on the brightest few
          k += 0.5f * amp * std::exp(-dy * dy / 0.5f) * std::pow(std::max(0.0f, 1.0f - std::fabs(dx) / reach), 3.0f);
          k += 0.5f * amp * std::exp(-dx * dx / 0.5f) * std::pow(std::max(0.0f, 1.0f - std::fabs(dy) / reach), 3.0f);
        }
        Rgba& p = At(img, x, y);
        p.r += tint.r * k;
        p.g += tint.g * k;
        p.b += tint.b * k;
      }
  }
}

// A giant planet whose night side fills the lower right corner; only a thin
// crescent facing the nebula is lit, with a cyan atmosphere along it.
void PaintPlanet(Image& img) {
  const float cx = 1010.0f, cy = 800.0f, R = 470.0f;
  const float lx = -0.72f, ly = 0.5f, lz = 0.18f;  // light from the upper left, screen y up
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float u = (x + 0.5f - cx) / R, v = (y + 0.5f - cy) / R, r = std::hypot(u, v);
      if (r > 1.12f) continue;
      Rgba& p = At(img, x, y);
      if (r > 1.0f) {  // atmosphere halo beyond the limb, on the lit side only
        float facing = Clamp01((-u * 0.72f - v * 0.5f) / r);
        float g = std::exp(-(r - 1.0f) * 60.0f) * facing;
        p.r += 0.15f * g, p.g += 0.55f * g, p.b += 0.9f * g;
        continue;
      }
      float z = std::sqrt(1.0f - r * r);
      float nx = u, ny = -v, nz = z;
      float lambert = std::max(0.0f, nx * lx + ny * ly + nz * lz);
      float bands = 0.5f + 0.5f * std::sin(v * 30.0f + 3.0f * Fbm3(u * 3, v * 9, 0.5f, 4, 0.5f, 911));
      Rgba surface = Mix(Rgba{0.25f, 0.32f, 0.5f, 1}, Rgba{0.55f, 0.62f, 0.78f, 1}, bands);
      Rgba c = Scale(surface, 0.015f + 0.8f * std::pow(lambert, 1.5f));
      float rim = std::pow(1.0f - z, 4.0f) * Clamp01(0.2f + 1.5f * (nx * lx + ny * ly));
      float cover = SdfCoverage((r - 1.0f) * R);
      Rgba planet{c.r + 0.2f * rim, c.g + 0.6f * rim, c.b + 1.0f * rim, 1};
      // The disc hides the stars and nebula behind it.
      p = Mix(p, planet, cover);
    }
}

float ShipSdf(float x, float y, float cx, float cy, float heading, float size) {
  // Ship's own frame: forward along +u, right along +w, unit length.
  float dx = x - cx, dy = y - cy, c = std::cos(heading), s = std::sin(heading);
  float u = (dx * c + dy * s) / size, w = (-dx * s + dy * c) / size;
  static const std::vector<float> hull = {0.5f,  0.0f,  0.2f,   0.06f, 0.04f,  0.1f,  -0.2f, 0.4f,  -0.31f,
                                          0.41f, -0.27f, 0.14f, -0.42f, 0.12f, -0.42f, -0.12f, -0.27f, -0.14f,
                                          -0.31f, -0.41f, -0.2f, -0.4f, 0.04f, -0.1f, 0.2f,   -0.06f};
  return SdPolygon(u, w, hull) * size;
}

void PaintShip(Image& img) {
  const float cx = 600.0f, cy = 262.0f, heading = -0.52f, size = 150.0f;
  float c = std::cos(heading), s = std::sin(heading);
  auto toScreen = [&](float u, float w, float& x, float& y) {
    x = cx + (u * c - w * s) * size;
    y = cy + (u * s + w * c) * size;
  };
  // Engine trails first, then the hull over them, then the nozzle glows.
  const float nozzles[3][2] = {{-0.43f, 0.0f}, {-0.41f, 0.09f}, {-0.41f, -0.09f}};
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float fx = x + 0.5f, fy = y + 0.5f;
      Rgba& p = At(img, x, y);
      for (const auto& n : nozzles) {
        float nx, ny;
        toScreen(n[0], n[1], nx, ny);
        float rx = fx - nx, ry = fy - ny;
        float back = -(rx * c + ry * s), side = -rx * s + ry * c;
        if (back > 0.0f) {
          float trail = std::exp(-side * side / 6.0f) * std::exp(-back / 110.0f) * 0.35f;
          p.r += 0.55f * trail, p.g += 0.75f * trail, p.b += 1.0f * trail;
        }
      }
      float d = ShipSdf(fx, fy, cx, cy, heading, size);
      float cover = SdfCoverage(d);
      if (cover > 0.0f) {
        // Rim light from the nebula core ahead and above.
        float lit = SdfCoverage(ShipSdf(fx + 1.8f, fy - 2.2f, cx, cy, heading, size));
        float rim = cover * (1.0f - lit);
        Rgba hull{0.012f, 0.014f, 0.024f, 1};
        Rgba edge{0.55f, 0.8f, 1.0f, 1};
        p = Mix(p, Mix(hull, edge, rim * 0.9f), cover);
      }
      for (const auto& n : nozzles) {
        float nx, ny;
        toScreen(n[0], n[1], nx, ny);
        float r2 = (fx - nx) * (fx - nx) + (fy - ny) * (fy - ny);
        float core = std::exp(-r2 / 5.0f), halo = std::exp(-r2 / 60.0f) * 0.45f;
        p.r += core + halo * 1.0f;
        p.g += core * 0.95f + halo * 0.55f;
        p.b += core * 0.9f + halo * 0.3f;
      }
    }
}

void Finish(Image& img) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float u = (x + 0.5f) / W - 0.5f, v = (y + 0.5f) / H - 0.5f;
      float vignette = 1.0f - 0.45f * Smoothstep(0.25f, 0.75f, std::hypot(u, v * 0.9f));
      Rgba& p = At(img, x, y);
      // Soft shoulder so bright stars and glows roll off instead of clipping.
      auto tone = [](float v) { return v < 0.8f ? v : 0.8f + 0.2f * (1.0f - std::exp(-(v - 0.8f) * 5.0f)); };
      p = {tone(p.r * vignette), tone(p.g * vignette), tone(p.b * vignette), 1};
    }
}

}  // namespace

void MakeTitleTexture(std::vector<TextureFile>& out) {
  Image img = MakeImage(W, H);
  PaintSky(img);
  PaintStars(img);
  PaintPlanet(img);
  PaintShip(img);
  Finish(img);
  out.push_back({"bmp/oph.bmp", img});
}
