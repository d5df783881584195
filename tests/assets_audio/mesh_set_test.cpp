// The generated models as the game loads them: D3DXLoadMeshFromXA with the
// intended materials and a texture that resolves from the working directory;
// then the geometry itself, read with the file's own handedness: faces wind
// the way Direct3D draws them, the ship's nozzles sit where the engine glows
// are drawn, and the stone is closed and of the size the crash test assumes.
// The build's converted meshes (for the
// web build) hold what the game's own reader gets from each .x.
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <unistd.h>

#include <cmath>
#include <map>
#include <tuple>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "d3dx9/x_file_import.h"
#include "support/generated_data.h"
#include "support/device_test.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

struct Model {
  const char* file;
  DWORD materials;
};

const Model kModels[] = {{"XFILE/gitor.x", 3}, {"XFILE/Stone.x", 1}, {"XFILE/Item.x", 3}, {"XFILE/Dust.x", 2}};

class MeshSet : public DeviceTest {
 protected:
  void SetUp() override {
    if (Generated().first.empty()) GTEST_FAIL() << Generated().problem;
    DeviceTest::SetUp();
  }
};

// The scene in the file's own left-handed space and winding.
struct Scene {
  Assimp::Importer importer;
  const aiScene* scene = nullptr;
  explicit Scene(const fs::path& file) {
    scene = importer.ReadFile(file.string(), aiProcess_ConvertToLeftHanded | aiProcess_ValidateDataStructure);
  }
};

aiVector3D Cross(const aiVector3D& a, const aiVector3D& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct Box {
  aiVector3D lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
  void Add(const aiVector3D& p) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  float Largest() const { return std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z}); }
};

Box BoundsOf(const aiScene* scene) {
  Box box;
  for (unsigned m = 0; m < scene->mNumMeshes; ++m)
    for (unsigned v = 0; v < scene->mMeshes[m]->mNumVertices; ++v) box.Add(scene->mMeshes[m]->mVertices[v]);
  return box;
}

TEST_F(MeshSet, TheGameLoaderTakesEveryModelWithItsMaterialsAndTextures) {
  WorkingDirectory inData(Generated().first);  // texture names are relative to the working directory
  for (const Model& model : kModels) {
    SCOPED_TRACE(model.file);
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* buffer = nullptr;
    DWORD count = 0;
    ASSERT_EQ(D3DXLoadMeshFromXA(model.file, D3DXMESH_MANAGED, device, nullptr, &buffer, nullptr, &count, &mesh),
              D3D_OK);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(count, model.materials);
    const auto* materials = static_cast<const D3DXMATERIAL*>(buffer->GetBufferPointer());
    for (DWORD i = 0; i < count; ++i) {
      const char* texture = materials[i].pTextureFilename;
      if (texture == nullptr) continue;
      IDirect3DTexture9* loaded = nullptr;
      EXPECT_EQ(D3DXCreateTextureFromFileA(device, texture, &loaded), D3D_OK) << texture;
      if (loaded) loaded->Release();
    }
    if (std::string(model.file) == "XFILE/Stone.x") {
      EXPECT_STREQ(materials[0].pTextureFilename, "XFILE/stone.bmp");
    }
    if (std::string(model.file) == "XFILE/Dust.x") {
      for (DWORD i = 0; i < count; ++i) EXPECT_LT(materials[i].MatD3D.Diffuse.a, 1.0f);  // translucent puffs
    }
    buffer->Release();
    mesh->Release();
  }
}

TEST_F(MeshSet, FacesWindClockwiseAroundUnitNormals) {
  for (const Model& model : kModels) {
    SCOPED_TRACE(model.file);
    Scene s(Generated().first / model.file);
    ASSERT_NE(s.scene, nullptr);
    for (unsigned m = 0; m < s.scene->mNumMeshes; ++m) {
      const aiMesh* mesh = s.scene->mMeshes[m];
      ASSERT_TRUE(mesh->HasNormals());
      ASSERT_TRUE(mesh->HasTextureCoords(0));
      int wrong = 0;
      for (unsigned v = 0; v < mesh->mNumVertices; ++v) EXPECT_NEAR(mesh->mNormals[v].Length(), 1.0f, 1e-3f);
      for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        ASSERT_EQ(face.mNumIndices, 3u);
        const aiVector3D& a = mesh->mVertices[face.mIndices[0]];
        aiVector3D n = Cross(mesh->mVertices[face.mIndices[1]] - a, mesh->mVertices[face.mIndices[2]] - a);
        aiVector3D stored = mesh->mNormals[face.mIndices[0]] + mesh->mNormals[face.mIndices[1]] +
                            mesh->mNormals[face.mIndices[2]];
        if (n * stored <= 0) ++wrong;
      }
      EXPECT_EQ(wrong, 0) << "of " << mesh->mNumFaces << " faces in material " << mesh->mMaterialIndex;
    }
  }
}

TEST_F(MeshSet, ShipPointsForwardWithNozzlesWhereTheGlowsAre) {
  Scene s(Generated().first / "XFILE/gitor.x");
  ASSERT_NE(s.scene, nullptr);
  Box box = BoundsOf(s.scene);
  EXPECT_NEAR(box.hi.z - box.lo.z, 2.0f, 0.25f);  // 6 units long at the game's 3x
  EXPECT_GT(box.hi.z, -box.lo.z);                 // the nose is the far end toward +z
  unsigned triangles = 0;
  for (unsigned m = 0; m < s.scene->mNumMeshes; ++m) triangles += s.scene->mMeshes[m]->mNumFaces;
  EXPECT_GE(triangles, 150u);
  EXPECT_LE(triangles, 800u);

  // Each glow point is the centre of a rear-facing nozzle face of the
  // engine material (the third one).
  const aiVector3D nozzles[3] = {{-0.33f, -0.13f, -0.93f}, {0.33f, -0.13f, -0.93f}, {0.0f, 0.43f, -0.93f}};
  for (const aiVector3D& nozzle : nozzles) {
    SCOPED_TRACE(testing::Message() << nozzle.x << "," << nozzle.y << "," << nozzle.z);
    bool found = false;
    for (unsigned m = 0; m < s.scene->mNumMeshes; ++m) {
      const aiMesh* mesh = s.scene->mMeshes[m];
      if (mesh->mMaterialIndex != 2) continue;
      for (unsigned v = 0; v < mesh->mNumVertices; ++v)
        if ((mesh->mVertices[v] - nozzle).Length() < 1e-4f && mesh->mNormals[v].z < -0.99f) found = true;
    }
    EXPECT_TRUE(found);
  }
}

TEST_F(MeshSet, StoneIsAClosedRockOfTheCrashSize) {
  Scene s(Generated().first / "XFILE/Stone.x");
  ASSERT_NE(s.scene, nullptr);
  // Weld corners by position, then every edge must border exactly two faces.
  std::map<std::tuple<long, long, long>, int> ids;
  auto id = [&](const aiVector3D& p) {
    auto key = std::make_tuple(std::lround(p.x * 1e4), std::lround(p.y * 1e4), std::lround(p.z * 1e4));
    return ids.emplace(key, int(ids.size())).first->second;
  };
  std::map<std::pair<int, int>, int> edges;
  double largest = 0, sum = 0;
  int corners = 0;
  for (unsigned m = 0; m < s.scene->mNumMeshes; ++m) {
    const aiMesh* mesh = s.scene->mMeshes[m];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
      int c[3];
      for (int k = 0; k < 3; ++k) {
        const aiVector3D& p = mesh->mVertices[mesh->mFaces[f].mIndices[k]];
        c[k] = id(p);
        largest = std::max(largest, double(p.Length()));
        sum += p.Length();
        ++corners;
      }
      for (int k = 0; k < 3; ++k) ++edges[{std::min(c[k], c[(k + 1) % 3]), std::max(c[k], c[(k + 1) % 3])}];
    }
  }
  int open = 0;
  for (const auto& [edge, faces] : edges) open += faces != 2;
  EXPECT_EQ(open, 0);
  EXPECT_LE(largest, 12.01);  // the ship crashes at 14 from the centre
  EXPECT_GE(sum / corners, 9.5);
}

TEST_F(MeshSet, ItemAndDustHaveTheirSizes) {
  Scene item(Generated().first / "XFILE/Item.x");
  Scene dust(Generated().first / "XFILE/Dust.x");
  ASSERT_NE(item.scene, nullptr);
  ASSERT_NE(dust.scene, nullptr);
  EXPECT_NEAR(BoundsOf(item.scene).Largest(), 4.0f, 0.5f);
  EXPECT_NEAR(BoundsOf(dust.scene).Largest(), 10.0f, 2.0f);  // grazed within 11
}

corvane::d3dx9::XFileStamp StampOf(const std::string& bytes) {
  corvane::d3dx9::XFileStamp stamp;
  stamp.Add(bytes.data(), bytes.size());
  return stamp;
}

// The data build's converted meshes hold exactly what the import gives, and
// the game takes one only for the very .x file it was made from.
TEST(ConvertedMeshes, HoldTheImportAndStandOnlyForTheirOwnXFile) {
  using namespace corvane::d3dx9;
  const fs::path data = fs::path(CORVANE_BINARY_DIR) / "data";
  std::map<std::string, XFileContents> imported;
  for (const Model& model : kModels) {
    SCOPED_TRACE(model.file);
    const std::string path = (data / model.file).string();
    std::string error;
    ASSERT_TRUE(ImportXFile(path, &imported[model.file], &error)) << error;
    EXPECT_TRUE(ReadText(path + ".xfc") == ConvertXFile(StampOf(ReadText(path)), imported[model.file]))
        << "a conversion now writes other bytes";
  }
  // Dust.x beside a converted file stamped as its own but holding Item: seeing
  // Item proves the converted file was read and no import ran.
  const std::string item = SerializeXFile(imported["XFILE/Item.x"]);
  const std::string dust = SerializeXFile(imported["XFILE/Dust.x"]);
  const std::string dustX = ReadText((data / "XFILE/Dust.x").string());
  const std::string marked = ConvertXFile(StampOf(dustX), imported["XFILE/Item.x"]);
  WorkingDirectory scratch(MakeScratchDir("converted-meshes"));
  const auto read = [](const std::string& x, const std::string& converted) {
    WriteText("Dust.x", x);
    WriteText("Dust.x.xfc", converted);
    XFileContents contents;
    std::string error;
    EXPECT_TRUE(ReadXFile("Dust.x", &contents, &error)) << error;
    return SerializeXFile(contents);
  };
  EXPECT_TRUE(read(dustX, marked) == item) << "a fresh converted file is not used";
  EXPECT_TRUE(read(dustX + "\n", marked) == dust) << "a replaced .x is shadowed by its old converted file";
  std::string flipped = marked;
  flipped[flipped.size() / 2] ^= 1;
  for (const std::string& damaged : {flipped, marked.substr(0, marked.size() - 1), std::string("XFCS")})
    EXPECT_TRUE(read(dustX, damaged) == dust) << "a damaged converted file is not set aside";
}

}  // namespace
