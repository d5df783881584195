// Meshes: subsets drawn in order with their own materials and textures,
// texture names looked up in the working folder, and the empty resource.
#include <filesystem>
#include <fstream>

#include "media/media_fixture.h"
#include "media/mesh_resource.h"
#include "support/bmp_writer.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

// Three overlapping quads in clip space, one subset each: red untextured,
// white with "green.bmp", blue with a texture that does not exist.
const char* const QUADS_X = R"(xof 0303txt 0032
Mesh { 12;
 -0.8;-0.5;0.5;, -0.1;-0.5;0.5;, -0.1;0.5;0.5;, -0.8;0.5;0.5;, -0.3;-0.5;0.5;, 0.4;-0.5;0.5;,
 0.4;0.5;0.5;, -0.3;0.5;0.5;, 0.2;-0.5;0.5;, 0.9;-0.5;0.5;, 0.9;0.5;0.5;, 0.2;0.5;0.5;;
 6; 3;0,1,2;, 3;0,2,3;, 3;4,5,6;, 3;4,6,7;, 3;8,9,10;, 3;8,10,11;;
 MeshMaterialList { 3; 6; 0,0,1,1,2,2;
  Material { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
  Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "green.bmp"; } }
  Material { 0.0;0.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "absent.bmp"; } } }
 MeshTextureCoords { 12; 0;0;, 1;0;, 1;1;, 0;1;, 0;0;, 1;0;, 1;1;, 0;1;, 0;0;, 1;0;, 1;1;, 0;1;; } }
)";

// A scratch folder as the working directory, holding XFILE/Quads.x.
class Meshes : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    fs::create_directories(root / "XFILE");
    std::ofstream(root / "XFILE/Quads.x") << QUADS_X;
    WriteBytes(root / "green.bmp", MakeBmp(8, 8, std::vector<DWORD>(64, 0xFF00FF00), 24));
    WriteBytes(root / "XFILE/green.bmp", MakeBmp(8, 8, std::vector<DWORD>(64, 0xFFFFFF00), 24));  // not used
  }
  const fs::path root = MakeScratchDir("mesh");
  WorkingDirectory inRoot{root};
};

TEST_F(Meshes, SubsetsDrawInOrderWithTheirOwnMaterialAndTexture) {
  MeshResource quads = {};
  testing::internal::CaptureStderr();
  LoadMesh(quads, "XFILE/Quads.x");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("absent.bmp"), std::string::npos);
  ASSERT_EQ(quads.materialCount, 3u);
  EXPECT_TRUE(quads.textures[0] == NULL && quads.textures[1] != NULL && quads.textures[2] == NULL);

  BeginFrame(0xFF000000);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  for (D3DTRANSFORMSTATETYPE t : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) device->SetTransform(t, &identity);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);  // no light: each shows its ambient = diffuse
  DrawMesh(quads);
  IDirect3DBaseTexture9* lastTexture = (IDirect3DBaseTexture9*)&quads;
  device->GetTexture(0, &lastTexture);
  EndFrame();
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_AMBIENT, 0);
  EXPECT_EQ(lastTexture, nullptr);  // the last subset drew untextured
  // Left to right: 0 alone, 1 over 0, 1 alone, 2 over 1, 2 alone.
  const int expected[5][2] = {{120, 0xFF0000}, {320, 0x00FF00}, {420, 0x00FF00}, {520, 0x0000FF}, {700, 0x0000FF}};
  for (const auto& [x, rgb] : expected) EXPECT_RGB(Pixel(x, 300), (DWORD)rgb) << x;

  ReleaseMesh(quads);
  EXPECT_TRUE(quads.mesh == NULL && quads.textures == NULL && quads.materials == NULL);
  ReleaseMesh(quads);  // a second release does nothing
}

TEST_F(Meshes, MissingFileGivesAnEmptyResourceThatDrawsNothing) {
  MeshResource never = {}, missing = {};
  ReleaseMesh(never);
  testing::internal::CaptureStderr();
  LoadMesh(missing, "XFILE/Nowhere.x");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("missing mesh \"XFILE/Nowhere.x\""), std::string::npos);
  EXPECT_TRUE(missing.mesh == NULL && missing.materialCount == 0);
  BeginFrame(0xFF000000);
  DrawMesh(missing);
  EndFrame();
  EXPECT_RGB(Pixel(400, 300), 0x000000);
}

}  // namespace
