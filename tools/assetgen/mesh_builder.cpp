#include "mesh_builder.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <utility>

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
Vec3 Normalise(Vec3 a) {
  double l = Length(a);
  return l > 0 ? a * (1.0 / l) : Vec3{0, 1, 0};
}

int AddMaterial(MeshBuilder& mesh, const XMaterial& material) {
  mesh.materials.push_back(material);
  return static_cast<int>(mesh.materials.size()) - 1;
}

int AddVertex(MeshBuilder& mesh, Vec3 position, Vec3 normal, double u, double v) {
  mesh.vertices.push_back({position, Normalise(normal), u, v});
  return static_cast<int>(mesh.vertices.size()) - 1;
}

void AddFlatTriangle(MeshBuilder& mesh, Vec3 a, Vec3 b, Vec3 c, Vec3 inside, int material) {
  Vec3 n = Cross(b - a, c - a);
  if (Length(n) < 1e-12) return;  // degenerate: nothing to draw
  Vec3 centre = (a + b + c) * (1.0 / 3.0);
  if (Dot(n, centre - inside) < 0) {
    std::swap(b, c);
    n = n * -1.0;
  }
  int i = AddVertex(mesh, a, n, 0, 0);
  int j = AddVertex(mesh, b, n, 0, 0);
  int k = AddVertex(mesh, c, n, 0, 0);
  mesh.faces.push_back({i, j, k, material});
}

void AddFlatQuad(MeshBuilder& mesh, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 inside, int material) {
  AddFlatTriangle(mesh, a, b, c, inside, material);
  AddFlatTriangle(mesh, a, c, d, inside, material);
}

void AddSmoothTriangle(MeshBuilder& mesh, int a, int b, int c, int material) {
  const MeshVertex& va = mesh.vertices[a];
  const MeshVertex& vb = mesh.vertices[b];
  const MeshVertex& vc = mesh.vertices[c];
  Vec3 n = Cross(vb.position - va.position, vc.position - va.position);
  if (Dot(n, va.normal + vb.normal + vc.normal) < 0) std::swap(b, c);
  mesh.faces.push_back({a, b, c, material});
}

void PlanarUv(MeshBuilder& mesh, Vec3 lo, Vec3 hi) {
  for (MeshVertex& v : mesh.vertices) {
    v.u = (v.position.x - lo.x) / (hi.x - lo.x);
    v.v = (hi.z - v.position.z) / (hi.z - lo.z);
  }
}

namespace {

void PutNumber(std::string& out, double value) {
  if (std::fabs(value) < 5e-7) value = 0.0;  // no "-0.000000"
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  out.append(buffer, result.ptr);
}

void PutInt(std::string& out, long value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void PutMaterial(std::string& out, const XMaterial& m) {
  out += "  Material " + m.name + " {\n   ";
  for (int i = 0; i < 4; ++i) PutNumber(out, m.diffuse[i]), out += ';';
  out += ";\n   ";
  PutNumber(out, m.power);
  out += ";\n   ";
  for (int i = 0; i < 3; ++i) PutNumber(out, m.specular[i]), out += ';';
  out += ";\n   ";
  for (int i = 0; i < 3; ++i) PutNumber(out, m.emissive[i]), out += ';';
  out += ";\n";
  if (!m.texture.empty()) out += "   TextureFilename { \"" + m.texture + "\"; }\n";
  out += "  }\n";
}

// The count, then one "x;y;z;" line per vertex.
void PutVectors(std::string& out, const MeshBuilder& mesh, Vec3 MeshVertex::*member) {
  PutInt(out, static_cast<long>(mesh.vertices.size()));
  out += ";\n";
  for (size_t i = 0; i < mesh.vertices.size(); ++i) {
    const Vec3& v = mesh.vertices[i].*member;
    out += ' ';
    PutNumber(out, v.x), out += ';';
    PutNumber(out, v.y), out += ';';
    PutNumber(out, v.z), out += ';';
    out += i + 1 < mesh.vertices.size() ? ",\n" : ";\n";
  }
}

// The count, then one "3;a,b,c;" line per triangle.
void PutFaces(std::string& out, const MeshBuilder& mesh) {
  PutInt(out, static_cast<long>(mesh.faces.size()));
  out += ";\n";
  for (size_t i = 0; i < mesh.faces.size(); ++i) {
    const MeshFace& f = mesh.faces[i];
    out += " 3;";
    PutInt(out, f.a), out += ',';
    PutInt(out, f.b), out += ',';
    PutInt(out, f.c);
    out += i + 1 < mesh.faces.size() ? ";,\n" : ";;\n";
  }
}

}  // namespace

std::string FormatXFile(const MeshBuilder& mesh, const std::string& meshName) {
  std::string out = "xof 0303txt 0032\n\n";
  out += "Mesh " + meshName + " {\n ";
  PutVectors(out, mesh, &MeshVertex::position);
  PutFaces(out, mesh);

  // One normal per vertex; face k uses the normals of its own vertices.
  out += "\n MeshNormals {\n ";
  PutVectors(out, mesh, &MeshVertex::normal);
  PutFaces(out, mesh);
  out += " }\n";

  out += "\n MeshTextureCoords {\n ";
  PutInt(out, static_cast<long>(mesh.vertices.size()));
  out += ";\n";
  for (size_t i = 0; i < mesh.vertices.size(); ++i) {
    out += ' ';
    PutNumber(out, mesh.vertices[i].u), out += ';';
    PutNumber(out, mesh.vertices[i].v), out += ';';
    out += i + 1 < mesh.vertices.size() ? ",\n" : ";\n";
  }
  out += " }\n";

  out += "\n MeshMaterialList {\n ";
  PutInt(out, static_cast<long>(mesh.materials.size()));
  out += ";\n ";
  PutInt(out, static_cast<long>(mesh.faces.size()));
  out += ";\n";
  for (size_t i = 0; i < mesh.faces.size(); ++i) {
    out += ' ';
    PutInt(out, mesh.faces[i].material);
    out += i + 1 < mesh.faces.size() ? ",\n" : ";;\n";
  }
  for (const XMaterial& m : mesh.materials) PutMaterial(out, m);
  out += " }\n}\n";
  return out;
}

bool WriteXFile(const std::string& path, const MeshBuilder& mesh, const std::string& meshName) {
  std::error_code ec;
  std::filesystem::path file(path);
  std::filesystem::create_directories(file.parent_path(), ec);
  std::string text = FormatXFile(mesh, meshName);
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!stream) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

void Icosphere(int levels, std::vector<Vec3>& points, std::vector<int>& triangles) {
  const double t = (1.0 + std::sqrt(5.0)) / 2.0;
  points = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
            {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
  for (Vec3& p : points) p = Normalise(p);
  triangles = {0, 11, 5, 0, 5, 1, 0, 1, 7, 0, 7, 10, 0, 10, 11, 1, 5, 9, 5, 11, 4,
               11, 10, 2, 10, 7, 6, 7, 1, 8, 3, 9, 4, 3, 4, 2, 3, 2, 6, 3, 6, 8,
               3, 8, 9, 4, 9, 5, 2, 4, 11, 6, 2, 10, 8, 6, 7, 9, 8, 1};
  for (int level = 0; level < levels; ++level) {
    std::map<std::pair<int, int>, int> midpoints;  // one new vertex per shared edge
    auto midpoint = [&](int a, int b) {
      std::pair<int, int> key(std::min(a, b), std::max(a, b));
      auto found = midpoints.find(key);
      if (found != midpoints.end()) return found->second;
      points.push_back(Normalise((points[a] + points[b]) * 0.5));
      int index = static_cast<int>(points.size()) - 1;
      midpoints.emplace(key, index);
      return index;
    };
    std::vector<int> next;
    for (size_t i = 0; i < triangles.size(); i += 3) {
      int a = triangles[i], b = triangles[i + 1], c = triangles[i + 2];
      int ab = midpoint(a, b), bc = midpoint(b, c), ca = midpoint(c, a);
      int split[12] = {a, ab, ca, b, bc, ab, c, ca, bc, ab, bc, ca};
      next.insert(next.end(), split, split + 12);
    }
    triangles = std::move(next);
  }
  // Make every face look outward (clockwise seen from outside).
  for (size_t i = 0; i < triangles.size(); i += 3) {
    Vec3 a = points[triangles[i]], b = points[triangles[i + 1]], c = points[triangles[i + 2]];
    if (Dot(Cross(b - a, c - a), a + b + c) < 0) std::swap(triangles[i + 1], triangles[i + 2]);
  }
}
