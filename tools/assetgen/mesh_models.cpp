// The four models: the player's ship, the stone (with its texture), the item
// capsule and the dust cloud.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "assetgen.h"
#include "image.h"
#include "mesh_builder.h"
#include "noise.h"

namespace {

constexpr double TAU = 6.28318530717958647692;
constexpr double HALF_PI = TAU / 4.0;

XMaterial Material(const char* name, double r, double g, double b, double a) {
  XMaterial m;
  m.name = name;
  m.diffuse[0] = r;
  m.diffuse[1] = g;
  m.diffuse[2] = b;
  m.diffuse[3] = a;
  return m;
}

void SetSpecular(XMaterial& m, double power, double level) {
  m.power = power;
  m.specular[0] = m.specular[1] = m.specular[2] = level;
}

void SetEmissive(XMaterial& m, double r, double g, double b) {
  m.emissive[0] = r;
  m.emissive[1] = g;
  m.emissive[2] = b;
}

// ---------------------------------------------------------------------------
// Ship: nose toward +z, about 2 long; three engines whose nozzle centres are
// where the game draws its glows.

const Vec3 NOZZLES[3] = {{-0.33, -0.13, -0.93}, {0.33, -0.13, -0.93}, {0.0, 0.43, -0.93}};

struct Station {
  double z, rx, ry, cy;
};

Vec3 RingPoint(const Station& s, int k, int sides) {
  double a = TAU * (k + 0.5) / sides;
  return {s.rx * std::cos(a), s.cy + s.ry * std::sin(a), s.z};
}

void Fuselage(MeshBuilder& m, int hull) {
  const int sides = 8;
  const Station st[] = {{0.75, 0.09, 0.065, -0.03}, {0.40, 0.17, 0.12, -0.01}, {0.00, 0.22, 0.15, 0.0},
                        {-0.45, 0.22, 0.15, 0.0},  {-0.80, 0.16, 0.12, 0.0}};
  const Vec3 nose = {0.0, -0.03, 1.02};
  for (int k = 0; k < sides; ++k)
    AddFlatTriangle(m, nose, RingPoint(st[0], k, sides), RingPoint(st[0], k + 1, sides),
                    {0, -0.03, 0.8}, hull);
  for (int s = 0; s + 1 < 5; ++s) {
    Vec3 inside = {0, (st[s].cy + st[s + 1].cy) / 2, (st[s].z + st[s + 1].z) / 2};
    for (int k = 0; k < sides; ++k)
      AddFlatQuad(m, RingPoint(st[s], k, sides), RingPoint(st[s], k + 1, sides),
                  RingPoint(st[s + 1], k + 1, sides), RingPoint(st[s + 1], k, sides), inside, hull);
  }
  Vec3 tail = {0.0, 0.0, -0.84};
  for (int k = 0; k < sides; ++k)
    AddFlatTriangle(m, tail, RingPoint(st[4], k, sides), RingPoint(st[4], k + 1, sides), {0, 0, -0.6}, hull);
}

void Canopy(MeshBuilder& m, int glass) {
  const Vec3 c = {0.0, 0.09, 0.30};
  const double rx = 0.10, ry = 0.10, rz = 0.30;
  const int segments = 8, rings = 3;
  auto point = [&](int ring, int seg) {
    double e = (HALF_PI * ring) / rings;
    double a = TAU * seg / segments;
    return Vec3{c.x + rx * std::cos(e) * std::cos(a), c.y + ry * std::sin(e), c.z + rz * std::cos(e) * std::sin(a)};
  };
  Vec3 apex = {c.x, c.y + ry, c.z};
  for (int r = 0; r < rings - 1; ++r)
    for (int s = 0; s < segments; ++s)
      AddFlatQuad(m, point(r, s), point(r, s + 1), point(r + 1, s + 1), point(r + 1, s), c, glass);
  for (int s = 0; s < segments; ++s) AddFlatTriangle(m, apex, point(rings - 1, s), point(rings - 1, s + 1), c, glass);
}

// A convex prism: the outline (in order) at two heights along `offset`.
void Prism(MeshBuilder& m, const std::vector<Vec3>& outline, Vec3 offset, int material) {
  Vec3 centre;
  for (const Vec3& p : outline) centre = centre + p;
  centre = centre * (1.0 / outline.size()) + offset * 0.5;
  size_t n = outline.size();
  for (size_t i = 1; i + 1 < n; ++i) {
    AddFlatTriangle(m, outline[0], outline[i], outline[i + 1], centre, material);
    AddFlatTriangle(m, outline[0] + offset, outline[i] + offset, outline[i + 1] + offset, centre, material);
  }
  for (size_t i = 0; i < n; ++i) {
    const Vec3& a = outline[i];
    const Vec3& b = outline[(i + 1) % n];
    AddFlatQuad(m, a, b, b + offset, a + offset, centre, material);
  }
}

void Wings(MeshBuilder& m, int hull) {
  for (int side = -1; side <= 1; side += 2) {
    double s = side;
    std::vector<Vec3> plan = {{0.18 * s, -0.12, 0.25}, {0.18 * s, -0.12, -0.70},
                              {0.80 * s, -0.14, -0.82}, {0.80 * s, -0.14, -0.58}};
    Prism(m, plan, {0, 0.04, 0}, hull);
  }
  std::vector<Vec3> fin = {{-0.015, 0.10, -0.25}, {-0.015, 0.10, -0.85}, {-0.015, 0.38, -0.88}, {-0.015, 0.38, -0.52}};
  Prism(m, fin, {0.03, 0, 0}, hull);
}

// An engine pod along -z ending in a flat nozzle whose centre is `nozzle`;
// the last ring and the nozzle face glow.
void EnginePod(MeshBuilder& m, Vec3 nozzle, double radius, double length, int hull, int glow) {
  const int sides = 8;
  auto ring = [&](double z, double r, int k) {
    double a = TAU * (k + 0.5) / sides;
    return Vec3{nozzle.x + r * std::cos(a), nozzle.y + r * std::sin(a), z};
  };
  double zBack = nozzle.z, zLip = nozzle.z + 0.07, zFront = nozzle.z + length;
  Vec3 tip = {nozzle.x, nozzle.y, zFront + 0.1};
  for (int k = 0; k < sides; ++k) {
    Vec3 axisBack = {nozzle.x, nozzle.y, (zBack + zLip) / 2};
    Vec3 axisMid = {nozzle.x, nozzle.y, (zLip + zFront) / 2};
    AddFlatQuad(m, ring(zBack, radius, k), ring(zBack, radius, k + 1), ring(zLip, radius, k + 1),
                ring(zLip, radius, k), axisBack, glow);
    AddFlatQuad(m, ring(zLip, radius, k), ring(zLip, radius, k + 1), ring(zFront, radius * 0.85, k + 1),
                ring(zFront, radius * 0.85, k), axisMid, hull);
    AddFlatTriangle(m, tip, ring(zFront, radius * 0.85, k), ring(zFront, radius * 0.85, k + 1),
                    {nozzle.x, nozzle.y, zFront - 0.05}, hull);
    AddFlatTriangle(m, nozzle, ring(zBack, radius, k), ring(zBack, radius, k + 1),
                    {nozzle.x, nozzle.y, zBack + 0.1}, glow);
  }
}

// The glowing faces map the nozzle texture's disc across their own nozzle:
// the centre of the texture at the nozzle's axis, its rim at the lip.
void NozzleUv(MeshBuilder& m, int glow) {
  for (const MeshFace& f : m.faces) {
    if (f.material != glow) continue;
    for (int index : {f.a, f.b, f.c}) {
      MeshVertex& v = m.vertices[index];
      const Vec3* nearest = &NOZZLES[0];
      for (const Vec3& n : NOZZLES)
        if (Length(v.position - n) < Length(v.position - *nearest)) nearest = &n;
      const double radius = nearest == &NOZZLES[2] ? 0.09 : 0.11;
      v.u = 0.5 + 0.47 * (v.position.x - nearest->x) / radius;
      v.v = 0.5 - 0.47 * (v.position.y - nearest->y) / radius;
    }
  }
}

// A nozzle seen from behind: a white-hot core through yellow and orange to a
// dark red lip.
bool WriteNozzleTexture(const std::string& path) {
  const int size = 64;
  Image img = MakeImage(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float r = std::hypot(x + 0.5f - 32.0f, y + 0.5f - 32.0f) / 30.0f;
      Rgba c = Mix(Rgba{1.0f, 0.98f, 0.9f, 1}, Rgba{1.0f, 0.78f, 0.3f, 1}, Smoothstep(0.1f, 0.45f, r));
      c = Mix(c, Rgba{1.0f, 0.42f, 0.08f, 1}, Smoothstep(0.45f, 0.75f, r));
      c = Mix(c, Rgba{0.35f, 0.08f, 0.03f, 1}, Smoothstep(0.8f, 1.0f, r));
      At(img, x, y) = c;
    }
  return WriteBmp24(img, path);
}

// Hull plating seen from above (u across the wings, v from nose to tail):
// light panels with dark seams, a cyan spine stripe and darker wing tips.
bool WriteHullTexture(const std::string& path) {
  const int size = 128;
  Image img = MakeImage(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
      float grime = 0.5f + 0.5f * Fbm3(u * 6.0f, v * 6.0f, 0.5f, 4, 0.5f, 41);
      Rgba c = Mix(Rgba{0.70f, 0.74f, 0.80f, 1}, Rgba{0.86f, 0.89f, 0.94f, 1}, grime);
      int row = y / 24;
      bool seam = y % 24 == 0 || (x + (row % 2) * 8) % 16 == 0;  // staggered like brickwork
      if (seam) c = Scale(c, 0.62f);
      if (std::fabs(u - 0.5f) < 0.025f) c = Mix(c, Rgba{0.25f, 0.78f, 0.95f, 1}, 0.85f);
      if (u < 0.07f || u > 0.93f) c = Scale(c, 0.55f);
      At(img, x, y) = c;
    }
  }
  return WriteBmp24(img, path);
}

MeshBuilder BuildShip() {
  MeshBuilder m;
  XMaterial hullMat = Material("Hull", 0.95, 0.95, 0.98, 1.0);
  SetSpecular(hullMat, 30.0, 0.8);
  // The game draws the ship at three times its size without renormalising
  // normals, so the light reaches it at a third of its strength; a cool
  // self-glow keeps the hull's plating readable against the dark.
  SetEmissive(hullMat, 0.30, 0.32, 0.36);
  hullMat.texture = "XFILE/gitor_hull.bmp";
  XMaterial glassMat = Material("Canopy", 0.12, 0.24, 0.42, 1.0);
  SetSpecular(glassMat, 80.0, 1.0);
  SetEmissive(glassMat, 0.03, 0.08, 0.16);
  // Full self-glow, so the nozzle texture shows as it is: white-hot in the
  // middle, orange, then a dark lip.
  XMaterial engineMat = Material("Engines", 1.0, 1.0, 1.0, 1.0);
  SetEmissive(engineMat, 1.0, 1.0, 1.0);
  engineMat.texture = "XFILE/gitor_nozzle.bmp";
  int hull = AddMaterial(m, hullMat);
  int glass = AddMaterial(m, glassMat);
  int glow = AddMaterial(m, engineMat);
  Fuselage(m, hull);
  Canopy(m, glass);
  Wings(m, hull);
  EnginePod(m, NOZZLES[0], 0.11, 0.55, hull, glow);
  EnginePod(m, NOZZLES[1], 0.11, 0.55, hull, glow);
  EnginePod(m, NOZZLES[2], 0.09, 0.45, hull, glow);
  PlanarUv(m, {-0.8, 0, -1.0}, {0.8, 0, 1.05});
  NozzleUv(m, glow);
  return m;
}

// ---------------------------------------------------------------------------
// Stone: a displaced, cratered icosphere, smooth-shaded and textured.

constexpr double STONE_MAX_RADIUS = 12.0;
constexpr int STONE_SUBDIVISIONS = 2;  // 320 faces

std::vector<double> StoneRadii(const std::vector<Vec3>& points) {
  Rng rng = MakeRng(0x570E);
  struct Crater {
    Vec3 centre;
    double size, depth;
  };
  std::vector<Crater> craters;
  for (int i = 0; i < 6; ++i) {
    Vec3 c = Normalise({Uniform(rng, -1, 1), Uniform(rng, -1, 1), Uniform(rng, -1, 1)});
    craters.push_back({c, Uniform(rng, 0.25, 0.5), Uniform(rng, 0.05, 0.12)});
  }
  std::vector<double> radii;
  for (const Vec3& p : points) {
    double r = 1.0 + 0.26 * Fbm3(float(p.x * 1.6), float(p.y * 1.6), float(p.z * 1.6), 4, 0.5f, 91);
    r *= 1.0 + 0.12 * p.x * p.x - 0.08 * p.y * p.y;  // a little elongated, not a ball
    for (const Crater& c : craters) {
      double d = std::acos(std::clamp(Dot(p, c.centre), -1.0, 1.0)) / c.size;
      if (d < 1.0) r -= c.depth * (1.0 - d * d) * (1.0 - d * d);
      else if (d < 1.3) r += c.depth * 0.25 * std::sin((d - 1.0) / 0.3 * 2.0 * HALF_PI);  // rim
    }
    radii.push_back(r);
  }
  double largest = *std::max_element(radii.begin(), radii.end());
  for (double& r : radii) r *= STONE_MAX_RADIUS / largest;
  return radii;
}

void SphericalUv(Vec3 p, double& u, double& v) {
  Vec3 n = Normalise(p);
  u = 0.5 + std::atan2(n.z, n.x) / TAU;
  v = std::acos(std::clamp(n.y, -1.0, 1.0)) / (2.0 * HALF_PI);
}

// Smooth-shaded: the lighting is interpolated over few large triangles, which
// reads as a rounded rock and keeps the pixel cost of each stone low.
MeshBuilder BuildStone() {
  MeshBuilder m;
  // Lit faces show the texture at about its own brightness; a faint
  // self-glow keeps the shadowed side from going flat black.
  XMaterial rock = Material("Rock", 1.0, 0.97, 0.92, 1.0);
  SetSpecular(rock, 12.0, 0.15);
  SetEmissive(rock, 0.16, 0.15, 0.14);
  rock.texture = "XFILE/stone.bmp";
  int material = AddMaterial(m, rock);
  std::vector<Vec3> points;
  std::vector<int> tris;
  Icosphere(STONE_SUBDIVISIONS, points, tris);
  std::vector<double> radii = StoneRadii(points);
  std::vector<Vec3> corners(points.size()), normals(points.size());
  for (size_t i = 0; i < points.size(); ++i) corners[i] = points[i] * radii[i];
  // Each point's normal: the area-weighted sum of its faces' normals.
  for (size_t i = 0; i < tris.size(); i += 3) {
    const int a = tris[i], b = tris[i + 1], c = tris[i + 2];
    const Vec3 n = Cross(corners[b] - corners[a], corners[c] - corners[a]);
    for (int k : {a, b, c}) normals[k] = normals[k] + n;
  }
  // One vertex per point, and a second with u lifted by one for the faces
  // across the texture's wrap (so it does not run backwards over them).
  std::map<std::pair<int, bool>, int> vertexOf;
  auto vertex = [&](int point, bool lifted) {
    auto found = vertexOf.find({point, lifted});
    if (found != vertexOf.end()) return found->second;
    double u, v;
    SphericalUv(points[point], u, v);
    if (lifted) u += 1.0;
    const int index = AddVertex(m, corners[point], normals[point], u * 2.0, v);  // the texture wraps twice round
    vertexOf.emplace(std::make_pair(point, lifted), index);
    return index;
  };
  for (size_t i = 0; i < tris.size(); i += 3) {
    double u[3], v[3];
    for (int k = 0; k < 3; ++k) SphericalUv(points[tris[i + k]], u[k], v[k]);
    const double uMax = std::max({u[0], u[1], u[2]});
    int corner[3];
    for (int k = 0; k < 3; ++k) corner[k] = vertex(tris[i + k], uMax - u[k] > 0.5);
    AddSmoothTriangle(m, corner[0], corner[1], corner[2], material);
  }
  return m;
}

bool WriteStoneTexture(const std::string& path) {
  const int size = 128;
  Image img = MakeImage(size, size);
  const Rgba dark = {0.38f, 0.34f, 0.30f, 1}, light = {0.80f, 0.75f, 0.67f, 1};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Sampled round a cylinder so the left and right edges meet.
      float a = float(TAU) * (x + 0.5f) / size;
      float cx = std::cos(a) * 2.2f, cz = std::sin(a) * 2.2f, cy = (y + 0.5f) / size * 7.0f;
      float base = 0.5f + 0.5f * Fbm3(cx, cy, cz, 5, 0.55f, 17);
      float patches = 0.5f + 0.5f * Fbm3(cx * 0.5f + 3.0f, cy * 0.5f, cz * 0.5f, 3, 0.5f, 37);
      float cracks = 1.0f - std::fabs(Noise3(cx * 0.7f, cy * 0.7f, cz * 0.7f, 23));  // ridges along zero lines
      float grain = 0.5f + 0.5f * Noise3(cx * 9.0f, cy * 9.0f, cz * 9.0f, 29);
      Rgba c = Mix(dark, light, Clamp01(1.4f * (base - 0.5f) + 0.5f + 0.15f * (grain - 0.5f)));
      c = Mix(c, Rgba{0.50f, 0.40f, 0.30f, 1}, 0.5f * Smoothstep(0.55f, 0.8f, patches));  // rusty-brown patches
      c = Scale(c, 1.0f - 0.35f * Smoothstep(0.92f, 0.985f, cracks));
      At(img, x, y) = c;
    }
  }
  return WriteBmp24(img, path);
}

// ---------------------------------------------------------------------------
// Item: a bright pill, 4 long and 2.6 wide, along y.

MeshBuilder BuildItem() {
  MeshBuilder m;
  XMaterial top = Material("CapsuleTop", 0.45, 0.95, 1.0, 1.0);
  SetSpecular(top, 40.0, 1.0);
  SetEmissive(top, 0.3, 0.65, 0.75);
  XMaterial bottom = Material("CapsuleBottom", 1.0, 1.0, 1.0, 1.0);
  SetSpecular(bottom, 40.0, 1.0);
  SetEmissive(bottom, 0.65, 0.65, 0.7);
  XMaterial band = Material("CapsuleBand", 1.0, 0.82, 0.3, 1.0);
  SetSpecular(band, 60.0, 1.0);
  SetEmissive(band, 0.7, 0.5, 0.12);
  int topMat = AddMaterial(m, top), bottomMat = AddMaterial(m, bottom), bandMat = AddMaterial(m, band);

  const double radius = 1.3, half = 0.7, bandHalf = 0.18;
  const int segments = 16, capRings = 5;
  struct ProfilePoint {
    double r, y, nr, ny;
  };
  std::vector<ProfilePoint> profile;
  for (int k = 0; k <= capRings; ++k) {  // bottom pole to equator of the lower cap
    double a = -HALF_PI + HALF_PI * k / capRings;
    profile.push_back({radius * std::cos(a), -half + radius * std::sin(a), std::cos(a), std::sin(a)});
  }
  profile.push_back({radius, -bandHalf, 1, 0});
  profile.push_back({radius, bandHalf, 1, 0});
  for (int k = 0; k <= capRings; ++k) {
    double a = HALF_PI * k / capRings;
    profile.push_back({radius * std::cos(a), half + radius * std::sin(a), std::cos(a), std::sin(a)});
  }
  int columns = segments + 1;
  for (size_t row = 0; row < profile.size(); ++row) {
    const ProfilePoint& p = profile[row];
    for (int s = 0; s < columns; ++s) {
      double a = TAU * s / segments;
      Vec3 pos = {p.r * std::cos(a), p.y, p.r * std::sin(a)};
      Vec3 n = {p.nr * std::cos(a), p.ny, p.nr * std::sin(a)};
      AddVertex(m, pos, n, double(s) / segments, double(row) / (profile.size() - 1));
    }
  }
  for (size_t row = 0; row + 1 < profile.size(); ++row) {
    double midY = (profile[row].y + profile[row + 1].y) / 2;
    int material = midY > bandHalf ? topMat : midY < -bandHalf ? bottomMat : bandMat;
    for (int s = 0; s < segments; ++s) {
      int a = int(row) * columns + s, b = a + 1, c = a + columns + 1, d = a + columns;
      if (profile[row].r > 1e-9) AddSmoothTriangle(m, a, b, c, material);
      if (profile[row + 1].r > 1e-9) AddSmoothTriangle(m, a, c, d, material);
    }
  }
  return m;
}

// ---------------------------------------------------------------------------
// Dust: a loose cluster of soft translucent puffs about 10 across.

MeshBuilder BuildDust() {
  MeshBuilder m;
  XMaterial light = Material("DustLight", 0.80, 0.76, 0.70, 0.38);
  SetEmissive(light, 0.18, 0.17, 0.15);
  XMaterial dark = Material("DustDark", 0.60, 0.58, 0.56, 0.26);
  SetEmissive(dark, 0.10, 0.10, 0.10);
  int mats[2] = {AddMaterial(m, light), AddMaterial(m, dark)};
  std::vector<Vec3> unit;
  std::vector<int> tris;
  Icosphere(1, unit, tris);
  Rng rng = MakeRng(0xD057);
  const int puffs = 9;
  for (int i = 0; i < puffs; ++i) {
    Vec3 centre;
    if (i > 0) {
      // Spread round the middle at about three units, squashed a little.
      Vec3 dir = Normalise({Uniform(rng, -1, 1), Uniform(rng, -0.6f, 0.6f), Uniform(rng, -1, 1)});
      centre = dir * Uniform(rng, 2.6f, 3.4f);
    }
    double size = i == 0 ? 2.4 : Uniform(rng, 1.5f, 2.2f);
    int first = int(m.vertices.size());
    for (const Vec3& p : unit) {
      double wobble = 1.0 + 0.1 * Noise3(float(p.x * 2 + i * 7), float(p.y * 2), float(p.z * 2), 5);
      AddVertex(m, centre + p * (size * wobble), p, 0.5 + 0.5 * p.x, 0.5 - 0.5 * p.y);
    }
    for (size_t t = 0; t < tris.size(); t += 3)
      AddSmoothTriangle(m, first + tris[t], first + tris[t + 1], first + tris[t + 2], mats[i % 2]);
  }
  return m;
}

}  // namespace

void GenerateMeshes(const std::string& outDir) {
  struct Model {
    const char* file;
    const char* name;
    MeshBuilder mesh;
  };
  Model models[] = {{"XFILE/gitor.x", "Gitor", BuildShip()},
                    {"XFILE/Stone.x", "Stone", BuildStone()},
                    {"XFILE/Item.x", "Item", BuildItem()},
                    {"XFILE/Dust.x", "Dust", BuildDust()}};
  for (const Model& model : models) {
    if (WriteXFile(outDir + "/" + model.file, model.mesh, model.name))
      std::printf("%s  %zu triangles, %zu materials\n", model.file, model.mesh.faces.size(),
                  model.mesh.materials.size());
  }
  if (WriteStoneTexture(outDir + "/XFILE/stone.bmp")) std::printf("XFILE/stone.bmp  128x128\n");
  if (WriteHullTexture(outDir + "/XFILE/gitor_hull.bmp")) std::printf("XFILE/gitor_hull.bmp  128x128\n");
  if (WriteNozzleTexture(outDir + "/XFILE/gitor_nozzle.bmp")) std::printf("XFILE/gitor_nozzle.bmp  64x64\n");
}
