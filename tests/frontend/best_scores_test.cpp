// The best-score file: its layouts, its exact written form, and that no
// failure while writing loses the scores already on disk.
#include "frontend/best_scores.h"
#include "frontend/game_run.h"

namespace {


// Each test runs in a fresh data folder with a fresh user data folder.
class BestScores : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(root);
    fs::create_directories(root / "data/TEXT");
    fs::current_path(root / "data");
    ::setenv("XDG_DATA_HOME", (root / "user").c_str(), 1);
  }
  void TearDown() override {
    fs::current_path(home);
    fs::remove_all(root);
  }
  void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  std::vector<int> Scores() { return {bestScores[0], bestScores[1], bestScores[2]}; }
  void Set(int a, int b, int c) { bestScores[0] = a, bestScores[1] = b, bestScores[2] = c; }

  const fs::path home = fs::current_path();
  const fs::path root = fs::temp_directory_path() / ("corvane-scores-" + std::to_string(::getpid()));
  const fs::path file = root / "data/TEXT/ranking.txt", userFile = root / "user/corvane/ranking.txt";
};

TEST_F(BestScores, LayoutsReadTheSameAndTheWrittenFormIsExact) {
  for (const char* text : {"300\n200\n100\n", "300\t200\t\t100", "  300   200 100"}) {
    Write(file, text);
    Set(1, 1, 1);
    LoadBestScores();
    EXPECT_EQ(Scores(), (std::vector<int>{300, 200, 100})) << text;
  }
  SaveBestScores();
  EXPECT_EQ(ReadText(file), "300 200 100 ");
  Set(-5, 0, 7);
  SaveBestScores();
  EXPECT_EQ(ReadText(file), "-5 0 7 ");

  fs::remove_all(root / "data/TEXT");  // missing: zeros, and the folder is made on save
  LoadBestScores();
  EXPECT_EQ(Scores(), (std::vector<int>{0, 0, 0}));
  SaveBestScores();
  EXPECT_EQ(ReadText(file), "0 0 0 ");
}

TEST_F(BestScores, DamagedFileIsReadAsFarAsItGoesAndKeptAside) {
  for (auto [text, scores] : {std::pair{"300 200", std::vector<int>{300, 200, 0}},
                              std::pair{"50 x 10", std::vector<int>{50, 0, 0}}}) {
    Write(file, text);
    testing::internal::CaptureStderr();
    LoadBestScores();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ranking.txt.damaged"), std::string::npos);
    EXPECT_EQ(Scores(), scores);
    EXPECT_EQ(ReadText(file.string() + ".damaged"), text);
  }
}

TEST_F(BestScores, FailedWritesKeepTheOldFile) {
  Write(file, "300 200 100 ");
  fs::create_symlink("/dev/full", file.string() + ".new");  // a full disk
  Set(900, 800, 700);
  testing::internal::CaptureStderr();
  SaveBestScores();
  EXPECT_NE(testing::internal::GetCapturedStderr().find(userFile.string()), std::string::npos);
  EXPECT_EQ(ReadText(file), "300 200 100 ");
  EXPECT_EQ(ReadText(userFile), "900 800 700 ");  // moved to the user's folder...
  Set(0, 0, 0);
  LoadBestScores();
  EXPECT_EQ(Scores(), (std::vector<int>{900, 800, 700}));  // ...and read from there first

  fs::remove_all(root / "user");
  Write(root / "user", "not a folder");  // nowhere to write at all
  fs::create_symlink("/dev/full", file.string() + ".new");  // (the failed temporary was removed)
  testing::internal::CaptureStderr();
  SaveBestScores();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("old file is kept"), std::string::npos);
  EXPECT_EQ(ReadText(file), "300 200 100 ");
}

}  // namespace
