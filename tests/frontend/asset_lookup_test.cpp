// Asset files as they turn up on disk: other letter case, Japanese names in
// their Shift-JIS bytes, and files that are simply missing.
#include "frontend/game_run.h"

namespace {

// A wav folder of links to the generated sounds, renamed or left out.
void PrepareSounds(const fs::path& data) {
  const fs::path generated = fs::path(CORVANE_BINARY_DIR) / "data" / "wav";
  fs::remove(data / "wav");
  fs::create_directory(data / "wav");
  for (const auto& entry : fs::directory_iterator(generated)) {
    std::string name = entry.path().filename().string();
    if (name == "カスリ.wav") {
      name = "\x83\x4A\x83\x58\x83\x8A.wav";  // the same name in code page 932
    } else if (name == "tramp.wav") {
      name = "TRAMP.WAV";
    } else if (name == "成功.wav") {
      continue;
    }
    fs::create_symlink(entry.path(), data / "wav" / name);
  }
  // And one picture gone.
  const fs::path pictures = fs::path(CORVANE_BINARY_DIR) / "data" / "bmp";
  fs::remove(data / "bmp");
  fs::create_directory(data / "bmp");
  for (const auto& entry : fs::directory_iterator(pictures)) {
    if (entry.path().filename() != "oph.bmp")
      fs::create_symlink(entry.path(), data / "bmp" / entry.path().filename());
  }
}

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(AssetLookup, OddNamesAreFoundAndMissingOnesNamedOnceWithTheirFolder) {
  GameRun run = RunGame("asset-lookup", "0:\n10: down\n12:\n", 20, "19", "19", PrepareSounds);
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  const std::string data = fs::canonical(run.folder / "data").string();

  EXPECT_EQ(Occurrences(run.errors, "missing sound \"wav/成功.wav\" (also tried its Shift-JIS name)"
                                    " (looked in " + data + "/wav)"),
            1)
      << run.errors;
  EXPECT_EQ(Occurrences(run.errors, "missing texture \"bmp/oph.bmp\" (looked in " + data + "/bmp)"),
            1)
      << run.errors;
  EXPECT_EQ(Occurrences(run.errors, "カスリ"), 0) << run.errors;
  EXPECT_EQ(Occurrences(run.errors, "tramp"), 0) << run.errors;

  // The upper-case cursor sound is a real, named buffer that plays.
  EXPECT_EQ(run.Calls(10, "SND_TRAMP", "Play").size(), 1u);
  EXPECT_EQ(JsonNumber(run.Dump(19), "menuCursor"), 1);
}

}  // namespace
