// The best-score file: its layouts, its exact written form, and that no
// failure while writing loses the scores already on disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "frontend/best_scores.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Runs each test in a fresh data folder with a fresh user data folder.
class BestScoresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldCwd = fs::current_path();
    root = fs::temp_directory_path() /
           ("corvane-scores-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "data" / "TEXT");
    fs::current_path(root / "data");
    ::setenv("XDG_DATA_HOME", (root / "user").c_str(), 1);
    dataFile = root / "data" / "TEXT" / "ranking.txt";
    userFile = root / "user" / "corvane" / "ranking.txt";
  }
  void TearDown() override {
    fs::current_path(oldCwd);
    fs::remove_all(root);
  }
  void Scores(int a, int b, int c) {
    bestScores[0] = a;
    bestScores[1] = b;
    bestScores[2] = c;
  }
  void ExpectScores(int a, int b, int c) {
    EXPECT_EQ(bestScores[0], a);
    EXPECT_EQ(bestScores[1], b);
    EXPECT_EQ(bestScores[2], c);
  }

  fs::path oldCwd, root, dataFile, userFile;
};

TEST_F(BestScoresTest, AnyWhitespaceLayoutReadsTheSame) {
  for (const char* text : {"300 200 100 ", "300\n200\n100\n", "300\t200\t\t100", "  300   200 100"}) {
    WriteAll(dataFile, text);
    Scores(1, 1, 1);
    LoadBestScores();
    SCOPED_TRACE(text);
    ExpectScores(300, 200, 100);
    EXPECT_TRUE(fs::exists(dataFile));
  }
}

TEST_F(BestScoresTest, WrittenFormIsThreeNumbersEachFollowedByOneSpace) {
  Scores(300, 200, 100);
  SaveBestScores();
  EXPECT_EQ(ReadAll(dataFile), "300 200 100 ");
  Scores(0, 0, 0);
  LoadBestScores();
  ExpectScores(300, 200, 100);

  Scores(-5, 0, 2147483647);
  SaveBestScores();
  EXPECT_EQ(ReadAll(dataFile), "-5 0 2147483647 ");
  EXPECT_FALSE(fs::exists(dataFile.string() + ".new"));
}

TEST_F(BestScoresTest, MissingFileAndFolderStartAtZeroAndAreCreatedOnSave) {
  fs::remove_all(root / "data" / "TEXT");
  Scores(9, 9, 9);
  LoadBestScores();
  ExpectScores(0, 0, 0);
  EXPECT_FALSE(fs::exists(root / "data" / "TEXT"));

  Scores(30, 20, 10);
  SaveBestScores();
  EXPECT_EQ(ReadAll(dataFile), "30 20 10 ");
}

TEST_F(BestScoresTest, DamagedFileIsReadAsFarAsItGoesAndKeptAside) {
  WriteAll(dataFile, "300 200");
  testing::internal::CaptureStderr();
  LoadBestScores();
  std::string message = testing::internal::GetCapturedStderr();
  ExpectScores(300, 200, 0);
  EXPECT_EQ(ReadAll(dataFile.string() + ".damaged"), "300 200");
  EXPECT_NE(message.find("ranking.txt"), std::string::npos);

  // A non-number stops the reading there; the later entries stay 0.
  WriteAll(dataFile, "50 x 10");
  LoadBestScores();
  ExpectScores(50, 0, 0);
  EXPECT_EQ(ReadAll(dataFile.string() + ".damaged"), "50 x 10");
}

TEST_F(BestScoresTest, FullDiskKeepsTheOldFileAndMovesTheScoresToTheUserFolder) {
  WriteAll(dataFile, "300 200 100 ");
  fs::create_symlink("/dev/full", dataFile.string() + ".new");
  Scores(900, 800, 700);
  testing::internal::CaptureStderr();
  SaveBestScores();
  std::string message = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadAll(dataFile), "300 200 100 ");
  EXPECT_FALSE(fs::is_symlink(dataFile.string() + ".new"));
  EXPECT_EQ(ReadAll(userFile), "900 800 700 ");
  EXPECT_NE(message.find(userFile.string()), std::string::npos);

  // From now on the user's copy is the one read and written.
  Scores(0, 0, 0);
  LoadBestScores();
  ExpectScores(900, 800, 700);
  Scores(901, 800, 700);
  SaveBestScores();
  EXPECT_EQ(ReadAll(userFile), "901 800 700 ");
  EXPECT_EQ(ReadAll(dataFile), "300 200 100 ");
}

TEST_F(BestScoresTest, UnwritableEverywhereKeepsTheOldFile) {
  WriteAll(dataFile, "300 200 100 ");
  // Neither the temporary file nor the user folder can be created.
  fs::create_directories(dataFile.string() + ".new");
  WriteAll(root / "user", "not a folder");
  Scores(1, 2, 3);
  testing::internal::CaptureStderr();
  SaveBestScores();
  std::string message = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadAll(dataFile), "300 200 100 ");
  EXPECT_NE(message.find("old file is kept"), std::string::npos);
}

}  // namespace
