// The game's one line about an asset file it cannot use: named once, and
// called missing, a folder or damaged for what it is.
#include "app/app_state.h"
#include "app/asset_catalogue.h"

#include <filesystem>

#include "media/media_fixture.h"
#include "media/mesh_resource.h"
#include "media/sound_loader.h"
#include "support/files.h"

namespace {

class AssetMessages : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    ASSERT_EQ(DirectSoundCreate8(nullptr, &Audio.directSound, nullptr), DS_OK);
    for (const char* ext : {".bmp", ".x", ".wav"}) std::filesystem::create_directories(File("folder") + ext);
    WriteBytes(File("damaged.bmp"), {'B', 'M', 1, 2, 3});
    WriteBytes(File("damaged.x"), {'x', 'o', 'f', ' '});
    WriteBytes(File("damaged.wav"), {'R', 'I', 'F', 'F', 9});
  }
  void TearDown() override {
    if (Audio.directSound) Audio.directSound->Release();
    Audio.directSound = nullptr;
    MediaTest::TearDown();
  }
  // Everything written on stderr while `load` runs.
  template <typename Load>
  std::string ErrorsOf(Load load) {
    testing::internal::CaptureStderr();
    load();
    return testing::internal::GetCapturedStderr();
  }
  std::string File(const std::string& name) const { return dir + "/" + name; }
  const std::string dir = MakeScratchDir("asset-messages");
};

TEST_F(AssetMessages, EachBadFileIsNamedOnceForWhatItIs) {
  for (const char* state : {"missing", "folder", "damaged"}) {
    for (const char* ext : {".bmp", ".x", ".wav"}) {
      // A missing sound is named by the catalogue, with every name it tried.
      if (std::string(state) == "missing" && std::string(ext) == ".wav") continue;
      const std::string file = File(std::string(state) + ext);
      const std::string errors = ErrorsOf([&] {
        if (std::string(ext) == ".bmp") {
          IDirect3DTexture9* texture = nullptr;
          LoadTexture(&texture, file.c_str(), 4, 4, 0);
        } else if (std::string(ext) == ".x") {
          MeshResource mesh = {};
          LoadMesh(mesh, file.c_str());
        } else {
          IDirectSoundBuffer8* sound = nullptr;
          LoadSound(&sound, file.c_str());
          if (sound) sound->Release();
        }
      });
      const std::string word = std::string(state) == "folder" ? "is a folder" : state;
      EXPECT_EQ(Occurrences(errors, file), 1) << errors;
      EXPECT_EQ(Occurrences(errors, "\n"), 1) << errors;
      EXPECT_NE(errors.find(word), std::string::npos) << errors;
    }
  }
}

}  // namespace
