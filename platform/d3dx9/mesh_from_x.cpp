// D3DXLoadMeshFromXA on Assimp: the file's own left-handed coordinates and
// winding, frame transforms baked in, one subset per material.
#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/path_lookup.h"
#include "d3dx9/mesh_data.h"

namespace {

using corvane::d3dx9::MeshData;
using corvane::d3dx9::MeshVertex;

// Assimp turns .x files right-handed (z mirrored, winding and v flipped);
// ConvertToLeftHanded undoes all three. PreTransformVertices bakes the frame
// matrices; Validate refuses indices that point outside their mesh.
constexpr unsigned kImportFlags = aiProcess_ConvertToLeftHanded | aiProcess_PreTransformVertices |
                                  aiProcess_JoinIdenticalVertices | aiProcess_Triangulate |
                                  aiProcess_ValidateDataStructure;

D3DCOLORVALUE Color(float r, float g, float b, float a) { return D3DCOLORVALUE{r, g, b, a}; }

struct LoadedMaterial {
  D3DMATERIAL9 material;
  std::string texture;  // as written in the file; empty for none
  bool hasTexture = false;
};

// The material D3DX gives a file without materials.
LoadedMaterial DefaultMaterial() {
  LoadedMaterial m{};
  m.material.Diffuse = Color(0.5f, 0.5f, 0.5f, 0.0f);
  m.material.Specular = Color(0.5f, 0.5f, 0.5f, 0.0f);
  return m;
}

LoadedMaterial ConvertMaterial(const aiMaterial* source) {
  LoadedMaterial m{};
  aiColor4D diffuse(0, 0, 0, 1), specular(0, 0, 0, 1), emissive(0, 0, 0, 1);
  float power = 0;
  source->Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
  source->Get(AI_MATKEY_COLOR_SPECULAR, specular);
  source->Get(AI_MATKEY_COLOR_EMISSIVE, emissive);
  source->Get(AI_MATKEY_SHININESS, power);
  m.material.Diffuse = Color(diffuse.r, diffuse.g, diffuse.b, diffuse.a);
  m.material.Specular = Color(specular.r, specular.g, specular.b, 1.0f);
  m.material.Emissive = Color(emissive.r, emissive.g, emissive.b, 1.0f);
  // A .x material has no ambient colour.
  m.material.Ambient = Color(0, 0, 0, 1.0f);
  m.material.Power = power;
  aiString name;
  if (source->GetTexture(aiTextureType_DIFFUSE, 0, &name) == AI_SUCCESS && name.length > 0) {
    m.texture.assign(name.C_Str(), name.length);
    m.hasTexture = true;
  }
  return m;
}

// Assimp invents a grey material, without a name, for meshes the file gives
// none; every material read from the file has one. D3DX has its own default.
bool IsInventedMaterial(const aiMaterial* material) {
  aiString name;
  return material->Get(AI_MATKEY_NAME, name) != AI_SUCCESS;
}

bool CollectGeometry(const aiScene* scene, MeshData* data, std::string* error) {
  std::vector<const aiMesh*> meshes(scene->mMeshes, scene->mMeshes + scene->mNumMeshes);
  // Faces are grouped by material, as D3DX's attribute sort leaves them.
  std::stable_sort(meshes.begin(), meshes.end(),
                   [](const aiMesh* a, const aiMesh* b) { return a->mMaterialIndex < b->mMaterialIndex; });
  for (const aiMesh* mesh : meshes) {
    if (mesh->mMaterialIndex >= scene->mNumMaterials) {
      *error = "mesh refers to a missing material";
      return false;
    }
    const uint32_t base = uint32_t(data->vertices.size());
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
      MeshVertex v{};
      v.x = mesh->mVertices[i].x;
      v.y = mesh->mVertices[i].y;
      v.z = mesh->mVertices[i].z;
      if (mesh->mNormals) {
        v.nx = mesh->mNormals[i].x;
        v.ny = mesh->mNormals[i].y;
        v.nz = mesh->mNormals[i].z;
      }
      if (mesh->mTextureCoords[0]) {
        v.u = mesh->mTextureCoords[0][i].x;
        v.v = mesh->mTextureCoords[0][i].y;
      }
      data->vertices.push_back(v);
    }
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
      const aiFace& face = mesh->mFaces[f];
      if (face.mNumIndices != 3) continue;  // points and lines are not drawn
      bool inside = true;
      for (int k = 0; k < 3; ++k) inside = inside && face.mIndices[k] < mesh->mNumVertices;
      if (!inside) {
        *error = "face index out of range";
        return false;
      }
      for (int k = 0; k < 3; ++k) data->indices.push_back(base + face.mIndices[k]);
      data->attributes.push_back(mesh->mMaterialIndex);
    }
  }
  if (data->attributes.empty()) {
    *error = "no triangles";
    return false;
  }
  return true;
}

// One buffer: the D3DXMATERIAL records followed by their texture names.
HRESULT BuildMaterialBuffer(const std::vector<LoadedMaterial>& materials, ID3DXBuffer** out) {
  size_t size = materials.size() * sizeof(D3DXMATERIAL);
  for (const LoadedMaterial& m : materials)
    if (m.hasTexture) size += m.texture.size() + 1;
  ID3DXBuffer* buffer = nullptr;
  const HRESULT hr = D3DXCreateBuffer(DWORD(size), &buffer);
  if (FAILED(hr)) return hr;
  auto* records = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
  char* names = reinterpret_cast<char*>(records + materials.size());
  for (size_t i = 0; i < materials.size(); ++i) {
    records[i].MatD3D = materials[i].material;
    records[i].pTextureFilename = nullptr;
    if (materials[i].hasTexture) {
      std::memcpy(names, materials[i].texture.c_str(), materials[i].texture.size() + 1);
      records[i].pTextureFilename = names;
      names += materials[i].texture.size() + 1;
    }
  }
  *out = buffer;
  return D3D_OK;
}

HRESULT Refuse(const char* filename, const std::string& why, HRESULT hr) {
  std::fprintf(stderr, "mesh: cannot load \"%s\": %s\n", filename, why.c_str());
  return hr;
}

}  // namespace

HRESULT WINAPI D3DXLoadMeshFromXA(const char* filename, DWORD flags, IDirect3DDevice9* device,
                                  ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                                  ID3DXBuffer** effect_instances, DWORD* material_count, ID3DXMesh** mesh) {
  if (!filename || !device || !mesh) return D3DERR_INVALIDCALL;
  *mesh = nullptr;
  if (adjacency) *adjacency = nullptr;
  if (materials) *materials = nullptr;
  if (effect_instances) *effect_instances = nullptr;
  if (material_count) *material_count = 0;

  const std::string path = corvane::ResolvePath(filename);
  if (path.empty()) return Refuse(filename, "no such file", D3DXERR_INVALIDDATA);
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path, kImportFlags);
  if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || scene->mNumMeshes == 0)
    return Refuse(filename, scene ? "no mesh data" : importer.GetErrorString(), D3DXERR_INVALIDDATA);

  std::vector<LoadedMaterial> loaded;
  for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
    const aiMaterial* material = scene->mMaterials[i];
    loaded.push_back(IsInventedMaterial(material) ? DefaultMaterial() : ConvertMaterial(material));
  }

  MeshData data;
  std::string error;
  if (!CollectGeometry(scene, &data, &error)) return Refuse(filename, error, D3DXERR_INVALIDDATA);
  corvane::d3dx9::BuildAttributeTable(&data);

  if (materials) {
    const HRESULT hr = BuildMaterialBuffer(loaded, materials);
    if (FAILED(hr)) return Refuse(filename, "out of memory", hr);
  }
  if (material_count) *material_count = DWORD(loaded.size());
  *mesh = corvane::d3dx9::CreateMesh(device, flags, std::move(data));
  return D3D_OK;
}
