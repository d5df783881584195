#include "media/mesh_resource.h"

#include "app/app_state.h"
#include "app/asset_catalogue.h"

void LoadMesh(MeshResource& resource, const char* fileName) {
  ID3DXBuffer* materialBuffer = NULL;
  DWORD materialCount = 0;
  ID3DXMesh* mesh = NULL;
  HRESULT loaded = D3DXLoadMeshFromXA(fileName, D3DXMESH_MANAGED, Gfx.device, NULL,
                                      &materialBuffer, NULL, &materialCount, &mesh);
  if (FAILED(loaded) || mesh == NULL) {
    // An empty resource draws nothing; the game goes on without the model.
    ReportAssetFailure("mesh", fileName, "", "the model is not drawn");
    if (materialBuffer != NULL) materialBuffer->Release();
    if (mesh != NULL) mesh->Release();
    resource.mesh = NULL;
    resource.materialCount = 0;
    resource.materials = NULL;
    resource.textures = NULL;
    return;
  }

  resource.mesh = mesh;
  resource.materialCount = materialCount;
  resource.materials = new D3DMATERIAL9[materialCount];
  resource.textures = new IDirect3DTexture9*[materialCount];

  const D3DXMATERIAL* source =
      materialBuffer != NULL ? (const D3DXMATERIAL*)materialBuffer->GetBufferPointer() : NULL;
  for (DWORD i = 0; i < materialCount; ++i) {
    resource.textures[i] = NULL;
    if (source == NULL) {
      resource.materials[i] = D3DMATERIAL9();
      continue;
    }
    resource.materials[i] = source[i].MatD3D;
    // The file's ambient colour is not used: ambient follows diffuse.
    resource.materials[i].Ambient = resource.materials[i].Diffuse;

    // The name stands as the file gives it: relative to the working folder.
    const char* textureName = source[i].pTextureFilename;
    if (textureName == NULL || textureName[0] == '\0') continue;
    if (FAILED(D3DXCreateTextureFromFileA(Gfx.device, textureName, &resource.textures[i]))) {
      resource.textures[i] = NULL;
      ReportAssetFailure("texture", textureName, " named by a mesh", "that part is drawn untextured");
    }
  }
  if (materialBuffer != NULL) materialBuffer->Release();
}

void DrawMesh(const MeshResource& resource) {
  if (resource.mesh == NULL) return;
  for (DWORD i = 0; i < resource.materialCount; ++i) {
    Gfx.device->SetMaterial(&resource.materials[i]);
    // A subset without a texture is meant to be drawn untextured.
    Gfx.device->SetTexture(0, resource.textures[i]);
    resource.mesh->DrawSubset(i);
  }
}

void ReleaseMesh(MeshResource& resource) {
  if (resource.mesh == NULL) return;
  delete[] resource.materials;
  resource.materials = NULL;
  for (DWORD i = 0; i < resource.materialCount; ++i) {
    if (resource.textures[i] != NULL) {
      resource.textures[i]->Release();
      resource.textures[i] = NULL;
    }
  }
  delete[] resource.textures;
  resource.textures = NULL;
  resource.mesh->Release();
  resource.mesh = NULL;
  resource.materialCount = 0;
}
