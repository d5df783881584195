// Additive light sprites: glows, flares, sparkle, trail, speed lines, smoke,
// ghost haze and the two explosion sheets. Bright shapes on pure black, mostly
// white so the game's tint colours them, and dark along every edge so a
// stretched quad never shows its border.
#include <cmath>

#include "noise.h"
#include "textures.h"

namespace {

constexpr float kPi = 3.14159265f;

// Soft highlight roll-off so overlapping light never clips hard.
float ToneMap(float v) { return 1.0f - std::exp(-1.6f * v); }

// Radial sprite: profile(r) in pixels from the centre, tinted per radius.
Image RadialSprite(int size, float (*profile)(float), Rgba (*tint)(float)) {
  Image img = MakeImage(size, size);
  float c = size * 0.5f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float r = std::hypot(x + 0.5f - c, y + 0.5f - c);
      float v = profile(r) * (1.0f - Smoothstep(c - 7.0f, c - 0.5f, r));
      At(img, x, y) = Scale(tint(r), v);
    }
  return img;
}

// The graze spark squeezes this to a twentieth of its width, so the core is
// broad and hot enough to stay a bright bar a few pixels thick.
float FlareProfile(float r) {
  float core = std::exp(-r * r / (2.0f * 6.5f * 6.5f));
  float halo = 0.6f / (1.0f + (r / 9.0f) * (r / 9.0f));
  float ring = 0.16f * std::exp(-(r - 19.0f) * (r - 19.0f) / (2.0f * 1.4f * 1.4f));
  return ToneMap(2.4f * core + halo + ring);
}
Rgba FlareTint(float r) { return Mix(Rgba{1, 1, 1, 1}, Rgba{0.82f, 0.92f, 1.0f, 1}, Smoothstep(4, 20, r)); }

float EngineProfile(float r) {
  float core = std::exp(-r * r / (2.0f * 4.5f * 4.5f));
  float halo = 0.7f * std::exp(-r * r / (2.0f * 11.0f * 11.0f));
  return ToneMap(2.0f * core + halo);
}
Rgba EngineTint(float r) { return Mix(Rgba{1, 1, 1, 1}, Rgba{1.0f, 0.78f, 0.6f, 1}, Smoothstep(3, 18, r)); }

Image MakeStar() {
  Image img = MakeImage(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      float dx = x + 0.5f - 32.0f, dy = y + 0.5f - 32.0f, r = std::hypot(dx, dy);
      auto spike = [](float along, float across, float len, float width) {
        float t = std::max(0.0f, 1.0f - std::fabs(along) / len);
        return std::pow(t, 2.4f) * std::exp(-across * across / (2.0f * width * width));
      };
      float u = (dx + dy) * 0.70710678f, w = (dx - dy) * 0.70710678f;
      float v = 1.4f * std::exp(-r * r / (2.0f * 2.0f * 2.0f)) + 0.35f / (1.0f + (r / 4.0f) * (r / 4.0f)) +
                spike(dx, dy, 30.0f, 0.9f + 0.04f * std::fabs(dx)) +
                spike(dy, dx, 30.0f, 0.9f + 0.04f * std::fabs(dy)) + 0.35f * spike(u, w, 15.0f, 0.8f) +
                0.35f * spike(w, u, 15.0f, 0.8f);
      float edge = 1.0f - Smoothstep(27.0f, 31.5f, std::max(std::fabs(dx), std::fabs(dy)));
      v = ToneMap(v) * edge;
      Rgba tint = Mix(Rgba{1, 1, 1, 1}, Rgba{0.85f, 0.92f, 1.0f, 1}, Smoothstep(2, 14, r));
      At(img, x, y) = Scale(tint, v);
    }
  return img;
}

Image MakeSmoke() {
  Image img = MakeImage(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      float dx = (x + 0.5f) / 128.0f - 1.0f, dy = (y + 0.5f) / 128.0f - 1.0f;
      float r = std::hypot(dx, dy);
      float n = Fbm3(dx * 2.2f, dy * 2.2f, 0.5f, 5, 0.55f, 21);
      float body = 1.0f - Smoothstep(0.05f, 0.92f, r + 0.12f * n);
      float v = std::pow(body, 1.6f) * (0.78f + 0.22f * n);
      v *= 1.0f - Smoothstep(0.86f, 0.98f, r);
      At(img, x, y) = Scale({0.93f, 0.95f, 1.0f, 1}, Clamp01(v * 0.95f));
    }
  return img;
}

Image MakeTrail() {
  Image img = MakeImage(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float d = std::fabs(x + 0.5f - 8.0f);
      float v = std::exp(-d * d / (2.0f * 2.4f * 2.4f)) * (1.0f - Smoothstep(5.0f, 7.6f, d));
      At(img, x, y) = {std::pow(v, 1.6f), std::pow(v, 1.25f), v, 1};
    }
  return img;
}

// Thirty of these quads fan out around the ship and shrink to a fifth of
// their width at one end, so hairlines alias into a moire disc: a few wide,
// soft, faint streaks of uneven length stay smooth when minified and let the
// stones show through where the quads pile up.
Image MakeSpeedLines() {
  Image img = MakeImage(64, 64);
  Rng rng = MakeRng(0x5EEDF00Dull);
  struct Streak { float x, width, bright, head, tail; };
  std::vector<Streak> streaks;
  for (float x = 6.0f; x < 60.0f; x += Uniform(rng, 12.0f, 18.0f)) {
    float head = Uniform(rng, 0.1f, 0.35f);
    streaks.push_back({x, Uniform(rng, 1.8f, 2.8f), Uniform(rng, 0.3f, 0.55f), head, head + Uniform(rng, 0.35f, 0.55f)});
  }
  for (int py = 0; py < 64; ++py)
    for (int px = 0; px < 64; ++px) {
      float v = (py + 0.5f) / 64.0f, sum = 0.0f;
      for (const Streak& l : streaks) {
        float d = std::fabs(px + 0.5f - l.x);
        d = std::min(d, 64.0f - d);  // wraps across the width
        float along = Smoothstep(l.head, l.head + 0.12f, v) * (1.0f - Smoothstep(l.tail - 0.2f, l.tail, v));
        sum += l.bright * along * std::exp(-d * d / (2.0f * l.width * l.width));
      }
      float ends = Smoothstep(0.0f, 0.1f, v) * (1.0f - Smoothstep(0.85f, 1.0f, v));
      float s = ToneMap(sum) * ends;
      At(img, px, py) = {s * 0.85f, s * 0.94f, s, 1};
    }
  return img;
}

Image MakeStreak() {
  Image img = MakeImage(128, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 128; ++x) {
      float dx = x + 0.5f - 64.0f, dy = y + 0.5f - 16.0f;
      float along = std::pow(std::max(0.0f, 1.0f - std::fabs(dx) / 62.0f), 2.2f);
      float v = along * (std::exp(-dy * dy / (2.0f * 1.3f * 1.3f)) + 0.3f * std::exp(-dy * dy / (2.0f * 4.5f * 4.5f)));
      v += 0.8f * std::exp(-(dx * dx + dy * dy * 4.0f) / (2.0f * 6.0f * 6.0f));
      v = ToneMap(1.4f * v) * (1.0f - Smoothstep(12.5f, 15.8f, std::fabs(dy)));
      At(img, x, y) = Scale(Mix(Rgba{1, 1, 1, 1}, Rgba{0.75f, 0.85f, 1, 1}, Smoothstep(0, 40, std::fabs(dx))), v);
    }
  return img;
}

Image MakeGhostHaze() {
  Image img = MakeImage(80, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) {
      float ex = (x + 0.5f - 40.0f) / 40.0f, ey = (y + 0.5f - 30.0f) / 30.0f;
      float e = std::sqrt(ex * ex + ey * ey);
      float wisp = Fbm3(ex * 2.6f, ey * 2.6f, 3.0f, 4, 0.55f, 77);
      float v = Smoothstep(0.42f, 1.25f, e + 0.18f * wisp);
      v = std::pow(v, 1.3f) * (0.75f + 0.35f * wisp);
      float hue = Clamp01(0.5f + 0.8f * Fbm3(ex * 1.5f, ey * 1.5f, 9.0f, 3, 0.5f, 78));
      Rgba c = Mix(Rgba{0.55f, 0.3f, 1.0f, 1}, Rgba{0.3f, 0.55f, 1.0f, 1}, hue);
      At(img, x, y) = Scale(c, Clamp01(v) * 0.85f);
    }
  return img;
}

// Fire colour ramp from cold smoke to white heat.
Rgba FireRamp(float t) {
  static const Rgba stops[] = {{0, 0, 0, 1},          {0.28f, 0.07f, 0.05f, 1}, {0.75f, 0.2f, 0.05f, 1},
                               {1.0f, 0.5f, 0.12f, 1}, {1.0f, 0.85f, 0.4f, 1},  {1.0f, 1.0f, 0.92f, 1}};
  t = Clamp01(t) * 5.0f;
  int i = std::min(4, int(t));
  return Mix(stops[i], stops[i + 1], t - i);
}

// Keeps a sprite-sheet cell dark within 2 px of its border.
float CellWindow(float x, float y, float size) {
  float d = std::min(std::min(x, size - x), std::min(y, size - y));
  return Smoothstep(2.0f, 7.0f, d);
}

Image MakeCrashStrip() {
  Image img = MakeImage(1600, 100);
  for (int f = 0; f < 16; ++f) {
    float t = f / 15.0f;
    float radius = 9.0f + 35.0f * std::sqrt(t);
    float heat = std::pow(1.0f - t, 1.3f);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        float dx = x + 0.5f - 50.0f, dy = y + 0.5f - 50.0f;
        float d = std::hypot(dx, dy) / radius;
        float turb = Fbm3(dx * 0.07f, dy * 0.07f, t * 2.5f, 5, 0.55f, 1234);
        float ridge = Ridged3(dx * 0.05f, dy * 0.05f, 4.0f + t * 2.0f, 4, 0.5f, 99);
        float density = 1.0f - Smoothstep(0.55f, 1.0f, d + 0.32f * turb);
        // Later frames hollow out into a smoky shell.
        float shell = Mix(1.0f, Smoothstep(0.15f, 0.8f, d), Smoothstep(0.3f, 0.9f, t));
        density *= shell * (0.7f + 0.5f * ridge);
        float temp = density * (1.25f - 0.7f * d) * (0.35f + 0.85f * heat);
        float flash = (1.0f - Smoothstep(0.0f, 0.3f, t)) * std::exp(-d * d * 3.0f) * 1.2f;
        Rgba fire = FireRamp(temp + flash);
        Rgba smoke = Scale({0.42f, 0.4f, 0.44f, 1}, density * 0.5f * Smoothstep(0.35f, 1.0f, t));
        Rgba c{std::max(fire.r, smoke.r), std::max(fire.g, smoke.g), std::max(fire.b, smoke.b), 1};
        float fade = 1.0f - 0.55f * Smoothstep(0.6f, 1.0f, t);
        At(img, f * 100 + x, y) = Scale(c, fade * CellWindow(x + 0.5f, y + 0.5f, 100.0f));
      }
  }
  return img;
}

Image MakeBurstSheet() {
  Image img = MakeImage(960, 960, {0, 0, 0, 0});
  Rng rng = MakeRng(0xB0057ull);
  struct Spark { float angle, speed, width; };
  std::vector<Spark> sparks;
  for (int i = 0; i < 22; ++i)
    sparks.push_back({Uniform(rng, 0, 2 * kPi), Uniform(rng, 0.6f, 1.0f), Uniform(rng, 0.9f, 1.8f)});
  for (int n = 0; n < 25; ++n) {
    float t = n / 24.0f;
    int ox = (n % 5) * 192, oy = (n / 5) * 192;
    float ringR = 12.0f + 72.0f * std::pow(t, 0.6f);
    float ringW = 7.0f * (1.0f - 0.6f * t) + 1.0f;
    float ringA = std::pow(1.0f - t, 1.4f);
    float flash = std::exp(-t * 9.0f);
    for (int y = 0; y < 192; ++y)
      for (int x = 0; x < 192; ++x) {
        float dx = x + 0.5f - 96.0f, dy = y + 0.5f - 96.0f, r = std::hypot(dx, dy);
        float ang = std::atan2(dy, dx);
        float wobble = 3.0f * Fbm3(dx * 0.05f, dy * 0.05f, t * 3.0f, 3, 0.5f, 555);
        float ring = ringA * std::exp(-std::pow((r - ringR + wobble) / ringW, 2.0f));
        float cloud = (1.0f - Smoothstep(0.0f, ringR * 0.9f, r)) *
                      (0.55f + 0.45f * Fbm3(dx * 0.06f, dy * 0.06f, 7.0f + t * 2.0f, 4, 0.5f, 556)) *
                      std::pow(1.0f - t, 2.0f) * 0.8f;
        float core = flash * std::exp(-r * r / (2.0f * 14.0f * 14.0f)) * 1.5f;
        float spark = 0.0f;
        for (const Spark& s : sparks) {
          float head = std::min(86.0f, ringR * (0.95f + 0.35f * s.speed));
          float len = 26.0f * (1.0f - t) + 6.0f;
          float da = std::remainder(ang - s.angle, 2.0f * kPi);
          float across = std::fabs(da) * r;
          if (r > head || r < head - len) continue;
          float alongFade = (r - (head - len)) / len;
          spark += alongFade * std::exp(-across * across / (2.0f * s.width * s.width)) * (1.0f - t * 0.8f);
        }
        float v = Clamp01(ring + cloud + core + spark) * CellWindow(x + 0.5f, y + 0.5f, 192.0f);
        Rgba hot = Mix(Rgba{0.78f, 0.84f, 0.9f, 1}, Rgba{1, 1, 1, 1}, Clamp01(core + spark + ring * 0.5f));
        At(img, ox + x, oy + y) = v > 0.0f ? Rgba{hot.r, hot.g, hot.b, v} : Rgba{0, 0, 0, 0};
      }
  }
  return img;
}

}  // namespace

void MakeEffectTextures(std::vector<TextureFile>& out) {
  out.push_back({"bmp/Ghost.bmp", MakeGhostHaze()});
  out.push_back({"bmp/Smoke2.bmp", MakeSmoke()});
  out.push_back({"bmp/BLight.bmp", MakeTrail()});
  out.push_back({"bmp/effect2.bmp", RadialSprite(64, EngineProfile, EngineTint)});
  out.push_back({"bmp/dam2.bmp", MakeImage(1, 1, {1, 1, 1, 1})});
  out.push_back({"bmp/Star.bmp", MakeStar()});
  out.push_back({"bmp/effect1.bmp", RadialSprite(64, FlareProfile, FlareTint)});
  out.push_back({"bmp/kaze3.bmp", MakeSpeedLines()});
  out.push_back({"bmp/SStar.bmp", MakeStreak()});
  out.push_back({"bmp/baku1.bmp", MakeCrashStrip()});
  out.push_back({"bmp/animation_explosion005.png", MakeBurstSheet()});
}
