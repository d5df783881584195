// .x files through Assimp: the file's own left-handed coordinates and
// winding, frame transforms baked in, faces grouped by material.
#include "d3dx9/x_file_import.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>

namespace corvane::d3dx9 {
namespace {

// Assimp turns .x files right-handed (z mirrored, winding and v flipped);
// ConvertToLeftHanded undoes all three. PreTransformVertices bakes the frame
// matrices; Validate refuses indices that point outside their mesh.
constexpr unsigned kImportFlags = aiProcess_ConvertToLeftHanded | aiProcess_PreTransformVertices |
                                  aiProcess_JoinIdenticalVertices | aiProcess_Triangulate |
                                  aiProcess_ValidateDataStructure;

D3DCOLORVALUE Color(float r, float g, float b, float a) { return D3DCOLORVALUE{r, g, b, a}; }

// The material D3DX gives a file without materials.
XMaterial DefaultMaterial() {
  XMaterial m{};
  m.material.Diffuse = Color(0.5f, 0.5f, 0.5f, 0.0f);
  m.material.Specular = Color(0.5f, 0.5f, 0.5f, 0.0f);
  return m;
}

XMaterial ConvertMaterial(const aiMaterial* source) {
  XMaterial m{};
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

}  // namespace

bool ImportXFileInProcess(const std::string& path, XFileContents* out, std::string* error) {
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path, kImportFlags);
  if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || scene->mNumMeshes == 0) {
    *error = scene ? "no mesh data" : importer.GetErrorString();
    return false;
  }
  for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
    const aiMaterial* material = scene->mMaterials[i];
    out->materials.push_back(IsInventedMaterial(material) ? DefaultMaterial() : ConvertMaterial(material));
  }
  return CollectGeometry(scene, &out->geometry, error);
}

}  // namespace corvane::d3dx9
