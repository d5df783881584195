// Meshes: subsets drawn in order with their own materials and textures,
// texture names looked up in the working folder, and the empty resource.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "media/device_fixture.h"
#include "media/mesh_resource.h"

namespace fs = std::filesystem;

namespace {

void WriteBmp(const fs::path& path, uint8_t r, uint8_t g, uint8_t b) {
  const int side = 8;
  const uint32_t imageSize = side * side * 3, fileSize = 54 + imageSize;
  uint8_t header[54] = {'B', 'M'};
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) header[at + i] = (uint8_t)(v >> (8 * i));
  };
  put32(2, fileSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, side);
  put32(22, side);
  header[26] = 1;
  header[28] = 24;
  put32(34, imageSize);
  std::ofstream out(path, std::ios::binary);
  out.write((const char*)header, 54);
  for (int i = 0; i < side * side; ++i) {
    const char bgr[3] = {(char)b, (char)g, (char)r};
    out.write(bgr, 3);
  }
}

// Three overlapping quads, one subset each, placed straight in clip space.
const char* const THREE_MATERIALS_X = R"(xof 0303txt 0032
Mesh quads {
 12;
 -0.8;-0.5;0.5;, -0.1;-0.5;0.5;, -0.1;0.5;0.5;, -0.8;0.5;0.5;,
 -0.3;-0.5;0.5;, 0.4;-0.5;0.5;, 0.4;0.5;0.5;, -0.3;0.5;0.5;,
 0.2;-0.5;0.5;, 0.9;-0.5;0.5;, 0.9;0.5;0.5;, 0.2;0.5;0.5;;
 6;
 3;0,1,2;, 3;0,2,3;, 3;4,5,6;, 3;4,6,7;, 3;8,9,10;, 3;8,10,11;;
 MeshMaterialList {
  3;
  6;
  0,0,1,1,2,2;
  Material {
   1.0;0.0;0.0;1.0;;
   0.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
  Material {
   1.0;1.0;1.0;1.0;;
   0.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
   TextureFilename { "green.bmp"; }
  }
  Material {
   0.0;0.0;1.0;1.0;;
   0.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
   TextureFilename { "absent.bmp"; }
  }
 }
 MeshTextureCoords {
  12;
  0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;,
  0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;,
  0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;;
 }
}
)";

class MeshTest : public DeviceTest {
 protected:
  void SetUp() override {
    oldCwd = fs::current_path();
    root = fs::temp_directory_path() / ("corvane-mesh-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "XFILE");
    fs::current_path(root);
    std::ofstream(root / "XFILE" / "Quads.x") << THREE_MATERIALS_X;
    WriteBmp(root / "green.bmp", 0, 255, 0);
    // The same name beside the .x file must not be the one used.
    WriteBmp(root / "XFILE" / "green.bmp", 255, 255, 0);
  }
  void TearDown() override {
    fs::current_path(oldCwd);
    fs::remove_all(root);
  }
  fs::path oldCwd, root;
};

TEST_F(MeshTest, SubsetsDrawInOrderWithTheirOwnMaterialAndTexture) {
  MeshResource quads = {};
  testing::internal::CaptureStderr();
  LoadMesh(quads, "XFILE/Quads.x");
  std::string message = testing::internal::GetCapturedStderr();
  ASSERT_NE(quads.mesh, nullptr);
  ASSERT_EQ(quads.materialCount, 3u);
  EXPECT_NE(quads.textures[1], nullptr);
  EXPECT_EQ(quads.textures[0], nullptr);
  EXPECT_EQ(quads.textures[2], nullptr);
  EXPECT_NE(message.find("absent.bmp"), std::string::npos);
  // Ambient follows diffuse whatever the file says.
  EXPECT_FLOAT_EQ(quads.materials[2].Ambient.b, 1.0f);
  EXPECT_FLOAT_EQ(quads.materials[2].Ambient.r, 0.0f);

  BeginFrame(0xFF000000);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  Gfx.device->SetTransform(D3DTS_WORLD, &identity);
  Gfx.device->SetTransform(D3DTS_VIEW, &identity);
  Gfx.device->SetTransform(D3DTS_PROJECTION, &identity);
  Gfx.device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  // No light: each subset shows its material's ambient colour, lit fully.
  Gfx.device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
  DrawMesh(quads);
  D3DMATERIAL9 last;
  Gfx.device->GetMaterial(&last);
  IDirect3DBaseTexture9* lastTexture = (IDirect3DBaseTexture9*)1;
  Gfx.device->GetTexture(0, &lastTexture);
  EndFrame();
  Gfx.device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  Gfx.device->SetRenderState(D3DRS_AMBIENT, 0);

  EXPECT_FLOAT_EQ(last.Diffuse.b, 1.0f);
  EXPECT_EQ(lastTexture, nullptr);  // the last subset is untextured
  EXPECT_PIXEL_NEAR(At(120, 300), 255, 0, 0);  // subset 0 alone
  EXPECT_PIXEL_NEAR(At(320, 300), 0, 255, 0);  // 1 over 0
  EXPECT_PIXEL_NEAR(At(420, 300), 0, 255, 0);  // 1, textured from the working folder
  EXPECT_PIXEL_NEAR(At(520, 300), 0, 0, 255);  // 2 over 1
  EXPECT_PIXEL_NEAR(At(700, 300), 0, 0, 255);
  EXPECT_PIXEL_NEAR(At(400, 100), 0, 0, 0);

  ReleaseMesh(quads);
  EXPECT_EQ(quads.mesh, nullptr);
  EXPECT_EQ(quads.textures, nullptr);
  ReleaseMesh(quads);  // a second release does nothing
}

TEST_F(MeshTest, MissingFileGivesAnEmptyResourceThatDrawsNothing) {
  MeshResource never = {};
  ReleaseMesh(never);
  EXPECT_EQ(never.mesh, nullptr);

  MeshResource missing = {};
  testing::internal::CaptureStderr();
  LoadMesh(missing, "XFILE/Nowhere.x");
  std::string message = testing::internal::GetCapturedStderr();
  EXPECT_EQ(missing.mesh, nullptr);
  EXPECT_EQ(missing.materialCount, 0u);
  EXPECT_NE(message.find("XFILE/Nowhere.x"), std::string::npos);

  BeginFrame(0xFF000000);
  DrawMesh(missing);
  EndFrame();
  EXPECT_PIXEL_NEAR(At(400, 300), 0, 0, 0);
  ReleaseMesh(missing);
}

}  // namespace
