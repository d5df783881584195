// One loaded .x model with a material and a texture per subset.
#pragma once

#include <d3d9.h>
#include <d3dx9.h>

struct MeshResource {
  ID3DXMesh* mesh;
  DWORD materialCount;
  D3DMATERIAL9* materials;
  IDirect3DTexture9** textures;
};

void LoadMesh(MeshResource& resource, const char* fileName);
void DrawMesh(const MeshResource& resource);
void ReleaseMesh(MeshResource& resource);
