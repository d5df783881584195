// Real .x files through D3DXLoadMeshFromXA: Assimp's test models load with
// their documented counts; damaged ones are refused or load harmlessly, the
// one that crashes the system's Assimp included.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include "support/corpus.h"
#include "support/device_test.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

class CorpusMesh : public DeviceTest {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_CORPUS("x");
    DeviceTest::SetUp();
  }

  struct Loaded {
    HRESULT hr = E_FAIL;
    DWORD faces = 0, vertices = 0, materials = 0;
    std::vector<std::string> textures;
  };
  Loaded Load(const char* name) {
    Loaded out;
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* buffer = nullptr;
    out.hr = D3DXLoadMeshFromXA((CorpusFolder("x") / name).string().c_str(), D3DXMESH_MANAGED, device, nullptr, &buffer, nullptr,
                                &out.materials, &mesh);
    if (mesh) {
      out.faces = mesh->GetNumFaces();
      out.vertices = mesh->GetNumVertices();
      mesh->Release();
    }
    if (buffer) {
      const auto* m = static_cast<const D3DXMATERIAL*>(buffer->GetBufferPointer());
      for (DWORD i = 0; i < out.materials; ++i) out.textures.push_back(m[i].pTextureFilename ? m[i].pTextureFilename : "");
      buffer->Release();
    }
    return out;
  }
};

TEST_F(CorpusMesh, ValidModelsLoadWithTheirDocumentedCounts) {
  struct Expect {
    const char* file;
    DWORD faces, materials;
  };
  for (const Expect& e : {Expect{"test_cube_text.x", 12, 1}, Expect{"test_cube_binary.x", 12, 1},
                          Expect{"test_cube_compressed.x", 12, 1}, Expect{"test.x", 12, 1},
                          Expect{"kwxport_test_cubewithvcolors.x", 12, 3}, Expect{"fromtruespace_bin32.x", 6656, 1},
                          Expect{"BCN_Epileptic.X", 5126, 1}, Expect{"anim_test.x", 840, 1},
                          Expect{"Testwuson.X", 3732, 1}}) {
    const Loaded l = Load(e.file);
    EXPECT_EQ(l.hr, D3D_OK) << e.file;
    EXPECT_EQ(l.faces, e.faces) << e.file;
    EXPECT_EQ(l.materials, e.materials) << e.file;
  }
  // Text, binary and compressed forms of the cube come out alike.
  const Loaded text = Load("test_cube_text.x"), binary = Load("test_cube_binary.x"),
               zipped = Load("test_cube_compressed.x");
  EXPECT_EQ(text.vertices, 24u);
  EXPECT_EQ(binary.vertices, text.vertices);
  EXPECT_EQ(zipped.vertices, text.vertices);
  // Texture names exactly as the files write them.
  EXPECT_EQ(Load("test.x").textures, std::vector<std::string>{".\\test.png"});
  const Loaded kw = Load("kwxport_test_cubewithvcolors.x");
  ASSERT_EQ(kw.textures.size(), 3u);
  EXPECT_EQ(kw.textures[0].rfind("C:\\code\\", 0), 0u);
  // The backslash name resolves to the texture beside it.
  WorkingDirectory inCorpus(CorpusFolder("x"));
  IDirect3DTexture9* texture = nullptr;
  EXPECT_EQ(D3DXCreateTextureFromFileA(device, ".\\test.png", &texture), D3D_OK);
  if (texture) texture->Release();
}

TEST_F(CorpusMesh, DamagedFilesAreRefusedOrLoadHarmlessly) {
  EXPECT_TRUE(FAILED(Load("empty.x").hr));
  EXPECT_TRUE(FAILED(Load("OV_GetNextToken").hr));
  const Loaded fvf = Load("malformed_fvf_texcoord_oob.x");
  if (SUCCEEDED(fvf.hr)) {
    EXPECT_GT(fvf.faces, 0u);
  }
}

// The system's Assimp 5.2.5 crashes on this file; the loader's child process
// takes the crash and the file is refused.
TEST_F(CorpusMesh, SkinWeightsOutOfRangeIsRefusedWithoutACrash) {
  EXPECT_TRUE(FAILED(Load("malformed_skinweights_oob.x").hr));
}

}  // namespace
