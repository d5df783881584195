// The memory behind an ID3DXMesh: XYZ|NORMAL|TEX1 vertices, triangle
// indices sorted by attribute, one attribute per face, and the subset table.
#pragma once

#include <d3dx9.h>

#include <vector>

namespace corvane::d3dx9 {

struct MeshVertex {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
};
constexpr DWORD kMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

struct MeshData {
  std::vector<MeshVertex> vertices;
  std::vector<uint32_t> indices;        // three per face
  std::vector<DWORD> attributes;        // one per face, non-decreasing
  std::vector<D3DXATTRIBUTERANGE> ranges;
};

// Fills `ranges` from `attributes` (faces must be sorted by attribute).
void BuildAttributeTable(MeshData* data);

// An ID3DXMesh over `data` that draws through `device`.
ID3DXMesh* CreateMesh(IDirect3DDevice9* device, DWORD options, MeshData data);

}  // namespace corvane::d3dx9
