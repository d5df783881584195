// .x meshes: one subset per material drawn with its own material, the file's
// own coordinates and winding with frames baked in, D3DX material records.
#include <d3dx9.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "corvane_load_error.h"
#include "d3dx9/x_file_import.h"
#include "fuzz/hostile_x_files.h"
#include "support/device_test.h"
#include "support/files.h"

namespace {

// Three clockwise triangles centred on x = -2, 0, 2 at z 5, inside a frame
// that moves them 10 further along z; one material each.
const char* kThreeMaterials = R"(xof 0303txt 0032
Frame Root {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,10.0,1.0;;
 }
 Mesh Tris {
  9;
  -2.5;-0.5;5.0;, -2.0;0.5;5.0;, -1.5;-0.5;5.0;,
  -0.5;-0.5;5.0;, 0.0;0.5;5.0;, 0.5;-0.5;5.0;,
  1.5;-0.5;5.0;, 2.0;0.5;5.0;, 2.5;-0.5;5.0;;
  3;
  3;0,1,2;, 3;3,4,5;, 3;6,7,8;;
  MeshMaterialList {
   3;
   3;
   0, 1, 2;;
   Material {
    1.0;0.0;0.0;1.0;;
    0.0;
    0.0;0.0;0.0;;
    0.0;0.0;0.0;;
   }
   Material {
    0.0;1.0;0.0;0.5;;
    8.0;
    1.0;1.0;1.0;;
    0.25;0.0;0.0;;
    TextureFilename {
     "bmp\\T.bmp";
    }
   }
   Material {
    0.0;0.0;1.0;1.0;;
    0.0;
    0.0;0.0;0.0;;
    0.0;0.0;0.0;;
   }
  }
 }
}
)";

const char* kNoMaterial = R"(xof 0303txt 0032
Mesh Tri {
 3;
 0;0;0;, 0;1;0;, 1;0;0;;
 1;
 3;0,1,2;;
}
)";

class MeshTest : public DeviceTest {
 protected:
  ID3DXMesh* Load(const std::string& file, ID3DXBuffer** materials, DWORD* count) {
    ID3DXMesh* mesh = nullptr;
    const HRESULT hr = D3DXLoadMeshFromXA(file.c_str(), D3DXMESH_MANAGED, device, nullptr, materials, nullptr,
                                          count, &mesh);
    EXPECT_EQ(SUCCEEDED(hr), mesh != nullptr);
    return mesh;
  }
  void DrawSubsets(ID3DXMesh* mesh, const D3DXMATERIAL* materials, std::initializer_list<DWORD> subsets) {
    BeginFrame(0xFF000000);
    D3DXMATRIX identity, projection;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixOrthoOffCenterLH(&projection, -4, 4, -3, 3, 0, 100);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetTexture(0, nullptr);
    for (DWORD k : subsets) {
      D3DMATERIAL9 m = materials[k].MatD3D;
      m.Ambient = m.Diffuse;  // as the game does after loading
      device->SetMaterial(&m);
      EXPECT_EQ(mesh->DrawSubset(k), D3D_OK);
    }
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    EndFrame();
  }
  std::string File(const std::string& name) const { return dir + "/" + name; }
  const std::string dir = MakeScratchDir("mesh");
};

TEST_F(MeshTest, ThreeMaterialsGiveThreeSubsetsDrawnWithTheirOwnMaterials) {
  std::ofstream(File("three.x")) << kThreeMaterials;
  ID3DXBuffer* buffer = nullptr;
  DWORD count = 0;
  ID3DXMesh* mesh = Load(File("three.x"), &buffer, &count);
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(count, 3u);
  EXPECT_EQ(mesh->GetNumFaces(), 3u);
  const auto* materials = static_cast<const D3DXMATERIAL*>(buffer->GetBufferPointer());
  EXPECT_EQ(materials[1].MatD3D.Diffuse.g, 1.0f);
  EXPECT_EQ(materials[1].MatD3D.Diffuse.a, 0.5f);
  EXPECT_EQ(materials[1].MatD3D.Power, 8.0f);
  EXPECT_EQ(materials[1].MatD3D.Emissive.r, 0.25f);
  EXPECT_EQ(materials[1].MatD3D.Emissive.a, 1.0f);
  EXPECT_EQ(materials[1].MatD3D.Ambient.r, 0.0f);  // .x materials carry no ambient
  EXPECT_EQ(materials[0].pTextureFilename, nullptr);
  ASSERT_NE(materials[1].pTextureFilename, nullptr);
  EXPECT_STREQ(materials[1].pTextureFilename, "bmp\\T.bmp");  // exactly as written

  // Subset 1 glows with its emissive quarter red over its green.
  DrawSubsets(mesh, materials, {0, 1, 2});
  EXPECT_EQ(Pixel(200, 310), 0xFF0000u);
  EXPECT_NEAR(int(Pixel(400, 310) >> 16), 64, 1);
  EXPECT_EQ(Pixel(400, 310) & 0xFFFF, 0xFF00u);
  EXPECT_EQ(Pixel(600, 310), 0x0000FFu);
  DrawSubsets(mesh, materials, {1});
  EXPECT_EQ(Pixel(200, 310), 0u);
  EXPECT_EQ(Pixel(400, 310) & 0xFFFF, 0xFF00u);
  EXPECT_EQ(Pixel(600, 310), 0u);

  // The file's own left-handed z, plus the frame's translation.
  auto* v = static_cast<const float*>(nullptr);
  ASSERT_EQ(mesh->LockVertexBuffer(0, (void**)&v), D3D_OK);
  for (DWORD i = 0; i < mesh->GetNumVertices(); ++i) EXPECT_FLOAT_EQ(v[i * 8 + 2], 15.0f);
  mesh->UnlockVertexBuffer();
  buffer->Release();
  mesh->Release();
}

TEST_F(MeshTest, FileWithoutMaterialsGetsTheD3DXDefaultMaterial) {
  std::ofstream(File("plain.x")) << kNoMaterial;
  ID3DXBuffer* buffer = nullptr;
  DWORD count = 0;
  ID3DXMesh* mesh = Load(File("plain.x"), &buffer, &count);
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(count, 1u);
  const D3DMATERIAL9& m = static_cast<const D3DXMATERIAL*>(buffer->GetBufferPointer())->MatD3D;
  EXPECT_EQ(m.Diffuse.r, 0.5f);
  EXPECT_EQ(m.Diffuse.a, 0.0f);
  EXPECT_EQ(m.Specular.g, 0.5f);
  EXPECT_EQ(m.Emissive.b, 0.0f);
  buffer->Release();
  mesh->Release();
}

// Missing, empty and cut files fail; files that crash Assimp, overflow its
// stack or make it allocate billions of vertices are refused with a reason,
// and this process lives on. No mesh and no material count comes back.
TEST_F(MeshTest, MissingBrokenAndHostileFilesAreRefusedWithoutHarmingTheGame) {
  std::ofstream(File("empty.x"));
  std::ofstream(File("cut.x")) << std::string(kThreeMaterials).substr(0, std::strlen(kThreeMaterials) / 2);
  std::filesystem::create_directories(File("folder.x"));
  std::vector<std::string> names = {"missing.x", "empty.x", "cut.x"};
  for (const auto& [name, text] : HostileXFiles()) {
    std::ofstream(File(name)) << text;
    names.push_back(name);
  }
  names.push_back("folder.x");
  for (const std::string& name : names) {
    ID3DXMesh* mesh = reinterpret_cast<ID3DXMesh*>(1);
    DWORD count = 7;
    EXPECT_TRUE(FAILED(D3DXLoadMeshFromXA(File(name).c_str(), D3DXMESH_MANAGED, device, nullptr, nullptr,
                                          nullptr, &count, &mesh)))
        << name;
    EXPECT_EQ(mesh, nullptr) << name;
    EXPECT_EQ(count, 0u) << name;
    EXPECT_STRNE(CorvaneLastLoadError(), "") << name;
  }
  EXPECT_STREQ(CorvaneLastLoadError(), "it is a folder");
}

// What comes back from the child is checked again before it becomes a mesh.
TEST_F(MeshTest, ChildAnswersWithBadIndicesOrCutShortAreRefused) {
  std::ofstream(File("three.x")) << kThreeMaterials;
  corvane::d3dx9::XFileContents good;
  std::string error;
  ASSERT_TRUE(corvane::d3dx9::ImportXFile(File("three.x"), &good, &error)) << error;
  corvane::d3dx9::XFileContents badIndex = good, badMaterial = good, back;
  badIndex.geometry.indices[4] = uint32_t(good.geometry.vertices.size());
  badMaterial.geometry.attributes.back() = 3;
  const std::string bytes = corvane::d3dx9::SerializeXFile(good);
  EXPECT_TRUE(corvane::d3dx9::DeserializeXFile(bytes, &back, &error));
  EXPECT_EQ(back.geometry.indices, good.geometry.indices);
  EXPECT_EQ(back.materials[1].texture, "bmp\\T.bmp");
  for (const std::string& bad : {corvane::d3dx9::SerializeXFile(badIndex), corvane::d3dx9::SerializeXFile(badMaterial),
                                 bytes.substr(0, bytes.size() - 1), bytes + "x"})
    EXPECT_FALSE(corvane::d3dx9::DeserializeXFile(bad, &back, &error));
}

}  // namespace
