// Triangle meshes for the .x writer: positions, normals, texture coordinates
// and a material per face, written as a text DirectX file. Coordinates are
// left-handed (+z forward, +y up) and front faces wind clockwise, so
// cross(b - a, c - a) points out of the surface.
#pragma once

#include <string>
#include <vector>

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, double k);
double Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
double Length(Vec3 a);
Vec3 Normalise(Vec3 a);

struct XMaterial {
  std::string name;
  double diffuse[4] = {1, 1, 1, 1};
  double power = 0.0;
  double specular[3] = {0, 0, 0};
  double emissive[3] = {0, 0, 0};
  std::string texture;  // relative to the game's working directory; empty for none
};

struct MeshVertex {
  Vec3 position, normal;
  double u = 0, v = 0;
};

struct MeshFace {
  int a, b, c;
  int material;
};

struct MeshBuilder {
  std::vector<MeshVertex> vertices;
  std::vector<MeshFace> faces;
  std::vector<XMaterial> materials;
};

int AddMaterial(MeshBuilder& mesh, const XMaterial& material);
int AddVertex(MeshBuilder& mesh, Vec3 position, Vec3 normal, double u, double v);

// A flat-shaded triangle with its own three vertices. The order is turned
// round when needed so the face looks away from `inside`.
void AddFlatTriangle(MeshBuilder& mesh, Vec3 a, Vec3 b, Vec3 c, Vec3 inside, int material);
// Two flat triangles a-b-c and a-c-d, oriented the same way.
void AddFlatQuad(MeshBuilder& mesh, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 inside, int material);
// A triangle over existing (smooth) vertices, oriented by their normals.
void AddSmoothTriangle(MeshBuilder& mesh, int a, int b, int c, int material);

// Gives every vertex a planar texture coordinate from x and z over the box.
void PlanarUv(MeshBuilder& mesh, Vec3 lo, Vec3 hi);

// Text .x serialisation, numbers in fixed notation with '.' whatever the
// locale. Materials are written inline, in use order.
std::string FormatXFile(const MeshBuilder& mesh, const std::string& meshName);
bool WriteXFile(const std::string& path, const MeshBuilder& mesh, const std::string& meshName);

// An icosahedron subdivided `levels` times on the unit sphere (shared
// vertices, outward faces): 12, 42, 162, 642 vertices for levels 0..3.
void Icosphere(int levels, std::vector<Vec3>& points, std::vector<int>& triangles);
