// Scenery bodies drawn far away and additively: a cratered moon, an ocean
// planet, a nebula cloud, a galaxy band, a ringed giant and a spiral galaxy.
// Each fades to pure black well inside its picture, so no quad edge shows.
#include <cmath>

#include "noise.h"
#include "textures.h"

namespace {

constexpr float kPi = 3.14159265f;

struct Vec3 {
  float x, y, z;
};

Vec3 Normalised(Vec3 v) {
  float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / l, v.y / l, v.z / l};
}
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Sphere billboard: calls shade(normal, coverage) for every pixel of a disc
// of radius R (pixels) centred at (cx, cy) and the halo for pixels outside.
template <typename Shade, typename Halo>
void ShadeSphere(Image& img, float cx, float cy, float R, Shade shade, Halo halo) {
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      float u = (x + 0.5f - cx) / R, v = (y + 0.5f - cy) / R;
      float r2 = u * u + v * v, r = std::sqrt(r2);
      float cover = SdfCoverage((r - 1.0f) * R);
      Rgba c = halo(r);
      if (cover > 0.0f) {
        float z = std::sqrt(std::max(0.0f, 1.0f - std::min(r2, 1.0f)));
        c = Mix(c, shade(Vec3{u, -v, z}), cover);
      }
      At(img, x, y) = c;
    }
}

Image MakeMoon() {
  Image img = MakeImage(235, 235);
  Rng rng = MakeRng(0x4D00Eull);
  struct Crater { Vec3 centre; float radius, depth; };
  std::vector<Crater> craters;
  for (int i = 0; i < 38; ++i) {
    Vec3 c = Normalised({Uniform(rng, -1, 1), Uniform(rng, -1, 1), Uniform(rng, -0.2f, 1)});
    float size = std::pow(Uniform(rng), 2.2f);
    craters.push_back({c, 0.05f + 0.22f * size, 0.5f + 0.5f * Uniform(rng)});
  }
  Vec3 light = Normalised({-0.55f, 0.45f, 0.7f});
  ShadeSphere(img, 117.5f, 117.5f, 98.0f,
              [&](Vec3 n) {
                float maria = Fbm3(n.x * 1.6f, n.y * 1.6f, n.z * 1.6f, 4, 0.5f, 301);
                float albedo = 0.62f - 0.22f * Smoothstep(-0.05f, 0.25f, maria) +
                               0.08f * Fbm3(n.x * 9, n.y * 9, n.z * 9, 3, 0.5f, 302);
                Vec3 bumped = n;
                for (const Crater& c : craters) {
                  float d = std::acos(std::min(1.0f, Dot(n, c.centre))) / c.radius;
                  if (d > 1.3f) continue;
                  // Bowl tilts the normal toward the centre, the raised rim away.
                  float slope = d < 1.0f ? -c.depth * std::sin(d * kPi) * 0.5f
                                         : c.depth * 0.3f * (1.3f - d) / 0.3f;
                  Vec3 toward = Normalised({c.centre.x - n.x * Dot(n, c.centre), c.centre.y - n.y * Dot(n, c.centre),
                                            c.centre.z - n.z * Dot(n, c.centre)});
                  bumped = Normalised({bumped.x + toward.x * slope, bumped.y + toward.y * slope,
                                       bumped.z + toward.z * slope});
                  if (d < 0.8f) albedo *= 0.92f;
                }
                float lambert = std::max(0.0f, Dot(bumped, light));
                float limb = 1.0f - 0.35f * (1.0f - n.z);
                float v = albedo * (0.06f + 1.1f * lambert) * limb;
                return Rgba{v * 0.98f, v * 0.98f, v, 1};
              },
              [](float r) {
                float g = 0.05f * std::exp(-(r - 1.0f) * 14.0f) * (1.0f - Smoothstep(1.05f, 1.18f, r));
                return Rgba{g * 0.8f, g * 0.85f, g, 1};
              });
  return img;
}

Image MakeOceanPlanet() {
  Image img = MakeImage(235, 235);
  Vec3 light = Normalised({-0.6f, 0.35f, 0.72f});
  ShadeSphere(img, 117.5f, 117.5f, 96.0f,
              [&](Vec3 n) {
                float land = Fbm3(n.x * 2.2f, n.y * 2.2f, n.z * 2.2f, 6, 0.5f, 401);
                float lat = n.y;
                float cloudBands = Fbm3(n.x * 3.0f, lat * 9.0f, n.z * 3.0f, 5, 0.55f, 402);
                float clouds = Smoothstep(0.02f, 0.35f, cloudBands + 0.15f * std::sin(lat * 11.0f));
                float ice = Smoothstep(0.78f, 0.9f, std::fabs(lat));
                Rgba ocean = Mix(Rgba{0.02f, 0.12f, 0.38f, 1}, Rgba{0.05f, 0.3f, 0.6f, 1}, Clamp01(0.5f + land));
                Rgba ground = Mix(Rgba{0.2f, 0.38f, 0.22f, 1}, Rgba{0.55f, 0.5f, 0.38f, 1}, Smoothstep(0.15f, 0.4f, land));
                Rgba surface = Mix(ocean, ground, Smoothstep(0.1f, 0.14f, land));
                surface = Mix(surface, Rgba{0.9f, 0.94f, 1.0f, 1}, std::max(ice, clouds * 0.9f));
                float lambert = std::max(0.0f, Dot(n, light));
                float limb = 1.0f - 0.5f * (1.0f - n.z);
                float rim = std::pow(1.0f - n.z, 3.0f) * (0.3f + 0.9f * std::max(0.0f, Dot(n, light) + 0.3f));
                Rgba c = Scale(surface, (0.02f + 1.05f * lambert) * limb);
                return Rgba{c.r + 0.25f * rim, c.g + 0.55f * rim, c.b + 1.0f * rim, 1};
              },
              [](float r) {
                float g = 0.5f * std::exp(-(r - 1.0f) * 16.0f) * (1.0f - Smoothstep(1.06f, 1.2f, r));
                return Rgba{g * 0.3f, g * 0.6f, g, 1};
              });
  return img;
}

// Warped fractal cloud, 0..1.
float Cloud(float x, float y, uint32_t seed, float warp) {
  float qx = Fbm3(x, y, 0.3f, 4, 0.5f, seed), qy = Fbm3(x + 5.2f, y + 1.3f, 0.7f, 4, 0.5f, seed + 1);
  float n = Fbm3(x + warp * qx, y + warp * qy, 1.1f, 5, 0.52f, seed + 2);
  return Clamp01(0.5f + 0.9f * n);
}

Image MakeNebula() {
  Image img = MakeImage(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      float u = (x + 0.5f) / 128.0f - 1.0f, v = (y + 0.5f) / 128.0f - 1.0f;
      float r = std::hypot(u, v * 1.15f);
      float c = Cloud(u * 1.6f, v * 1.6f, 501, 2.5f);
      float window = 1.0f - Smoothstep(0.35f, 0.95f, r + 0.2f * (c - 0.5f));
      float dens = std::pow(c, 2.2f) * window;
      float fil = Ridged3(u * 2.5f, v * 2.5f, 0.4f, 4, 0.5f, 503);
      float val = Clamp01(dens * (0.8f + 0.5f * fil) * 1.4f);
      At(img, x, y) = {val * 0.92f, val * 0.94f, val, 1};
    }
  return img;
}

// Sparse star dots with a power-law brightness, added onto img inside a window.
void AddStars(Image& img, uint64_t seed, int count, float (*window)(float, float, int, int)) {
  Rng rng = MakeRng(seed);
  for (int i = 0; i < count; ++i) {
    float sx = Uniform(rng, 0, float(img.w)), sy = Uniform(rng, 0, float(img.h));
    float m = std::pow(Uniform(rng), 6.0f);
    float w = window(sx, sy, img.w, img.h);
    float warm = Uniform(rng);
    if (w <= 0.01f) continue;
    float sigma = 0.45f + 0.9f * m;
    for (int y = int(sy) - 3; y <= int(sy) + 3; ++y)
      for (int x = int(sx) - 3; x <= int(sx) + 3; ++x) {
        if (x < 0 || y < 0 || x >= img.w || y >= img.h) continue;
        float d2 = (x + 0.5f - sx) * (x + 0.5f - sx) + (y + 0.5f - sy) * (y + 0.5f - sy);
        float k = (0.25f + 1.2f * m) * w * std::exp(-d2 / (2 * sigma * sigma));
        Rgba& p = At(img, x, y);
        p.r += k * Mix(0.8f, 1.0f, warm);
        p.g += k * 0.92f;
        p.b += k * Mix(1.0f, 0.82f, warm);
      }
  }
}

float EllipseWindow(float x, float y, int w, int h) {
  float u = (x / w - 0.5f) * 2.0f, v = (y / h - 0.5f) * 2.0f;
  return 1.0f - Smoothstep(0.55f, 0.92f, std::hypot(u, v));
}

Image MakeGalaxyBand() {
  Image img = MakeImage(436, 235);
  for (int y = 0; y < 235; ++y)
    for (int x = 0; x < 436; ++x) {
      float u = (x + 0.5f) / 218.0f - 1.0f, v = (y + 0.5f) / 117.5f - 1.0f;
      float across = v + 0.32f * u;  // a band leaning up to the right
      float band = std::exp(-across * across / (2.0f * 0.16f * 0.16f));
      float glow = Cloud(u * 2.5f, v * 3.5f, 601, 1.5f);
      float dust = Smoothstep(0.45f, 0.8f, Ridged3(u * 3.0f + 1.0f, across * 7.0f, 2.0f, 4, 0.5f, 602));
      float grain = 0.5f + 0.5f * Fbm3(u * 24.0f, v * 24.0f, 3.0f, 3, 0.6f, 603);
      float val = band * (0.35f + 0.65f * glow) * (1.0f - 0.75f * dust * band) * (0.7f + 0.5f * grain);
      val *= EllipseWindow(x + 0.5f, y + 0.5f, 436, 235);
      Rgba c = Mix(Rgba{0.7f, 0.78f, 1.0f, 1}, Rgba{1.0f, 0.92f, 0.85f, 1}, Clamp01(band * 1.2f - 0.3f));
      At(img, x, y) = Scale(c, val * 0.9f);
    }
  AddStars(img, 0x6A1Aull, 900, [](float x, float y, int w, int h) {
    float u = (x / (w * 0.5f)) - 1.0f, v = (y / (h * 0.5f)) - 1.0f;
    float across = v + 0.32f * u;
    return EllipseWindow(x, y, w, h) * (0.15f + 0.85f * std::exp(-across * across / 0.08f));
  });
  return img;
}

Image MakeRingedGiant() {
  Image img = MakeImage(447, 275);
  const float cx = 223.5f, cy = 137.5f, R = 82.0f, tilt = -0.2f, squash = 0.3f;
  Vec3 light = Normalised({-0.65f, 0.3f, 0.7f});
  float ct = std::cos(tilt), st = std::sin(tilt);
  // Ring brightness at a radius (planet radii): gaps make it read as rings.
  auto ringAt = [](float rr) {
    if (rr < 1.35f || rr > 2.35f) return 0.0f;
    float bands = 0.55f + 0.45f * std::sin(rr * 38.0f) * std::sin(rr * 11.0f);
    float gap = 1.0f - 0.85f * std::exp(-std::pow((rr - 1.92f) / 0.03f, 2.0f));
    return bands * gap * Smoothstep(1.35f, 1.45f, rr) * (1.0f - Smoothstep(2.2f, 2.35f, rr));
  };
  for (int y = 0; y < 275; ++y)
    for (int x = 0; x < 447; ++x) {
      float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
      // Planet in its own tilted frame so the bands follow the rings.
      float px = (dx * ct + dy * st) / R, py = (-dx * st + dy * ct) / R;
      float rp = std::hypot(px, py);
      float ringR = std::hypot(px, py / squash);
      float ring = ringAt(ringR);
      bool ringInFront = py > 0.0f;
      Rgba c{0, 0, 0, 1};
      Rgba ringColour = Scale({0.86f, 0.84f, 0.9f, 1}, ring * 0.85f);
      // The planet's shadow falls across the far side of the ring.
      if (!ringInFront && px > 0.15f && std::fabs(py) < 1.0f) ringColour = Scale(ringColour, 0.25f);
      float cover = SdfCoverage((rp - 1.0f) * R);
      if (!ringInFront || rp > 1.0f) c = ringColour;
      if (cover > 0.0f) {
        float z = std::sqrt(std::max(0.0f, 1.0f - std::min(rp * rp, 1.0f)));
        Vec3 n{(dx / R), -(dy / R), z};
        float lat = py;
        float turb = Fbm3(px * 3.0f, lat * 14.0f, 0.5f, 4, 0.5f, 701);
        float bands = 0.5f + 0.5f * std::sin(lat * 16.0f + 2.2f * turb);
        Rgba base = Mix(Rgba{0.55f, 0.5f, 0.62f, 1}, Rgba{0.92f, 0.86f, 0.8f, 1}, bands);
        float lambert = std::max(0.0f, Dot(n, light));
        float limb = 1.0f - 0.55f * (1.0f - z);
        Rgba planet = Scale(base, (0.02f + 1.05f * lambert) * limb);
        c = Mix(c, planet, cover);
        if (ringInFront && ring > 0.0f) c = Mix(c, ringColour, Clamp01(ring * 0.9f));
      }
      At(img, x, y) = c;
    }
  return img;
}

Image MakeSpiralGalaxy() {
  Image img = MakeImage(374, 241);
  const float cx = 187.0f, cy = 120.5f, tilt = 0.35f, squash = 0.5f;
  float ct = std::cos(tilt), st = std::sin(tilt);
  for (int y = 0; y < 241; ++y)
    for (int x = 0; x < 374; ++x) {
      float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
      float gx = (dx * ct + dy * st) / 150.0f, gy = (-dx * st + dy * ct) / (150.0f * squash);
      float r = std::hypot(gx, gy), theta = std::atan2(gy, gx);
      float arm = 0.5f + 0.5f * std::cos(2.0f * (theta - 2.6f * std::log(r + 0.05f)));
      float clumps = 0.6f + 0.6f * Fbm3(gx * 6.0f, gy * 6.0f, 0.3f, 4, 0.55f, 801);
      float disc = std::exp(-r / 0.28f) * (1.0f - Smoothstep(0.75f, 0.98f, r));
      float arms = disc * std::pow(arm, 2.5f) * clumps * 1.4f;
      float bulge = 0.9f * std::exp(-r * r / (2.0f * 0.07f * 0.07f));
      float haze = 0.25f * disc;
      Rgba armC{0.62f, 0.75f, 1.0f, 1}, coreC{1.0f, 0.92f, 0.8f, 1};
      Rgba c = Scale(armC, arms + haze);
      c.r += coreC.r * bulge;
      c.g += coreC.g * bulge;
      c.b += coreC.b * bulge;
      At(img, x, y) = c;
    }
  AddStars(img, 0x5B12A1ull, 260, EllipseWindow);
  return img;
}

}  // namespace

void MakeBackgroundTextures(std::vector<TextureFile>& out) {
  out.push_back({"bmp/back1.bmp", MakeMoon()});
  out.push_back({"bmp/back2.bmp", MakeNebula()});
  out.push_back({"bmp/back3.bmp", MakeGalaxyBand()});
  out.push_back({"bmp/back4.bmp", MakeRingedGiant()});
  out.push_back({"bmp/back6.bmp", MakeSpiralGalaxy()});
  out.push_back({"bmp/earth.bmp", MakeOceanPlanet()});
}
