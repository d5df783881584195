// The best-score file: its layouts, its exact written form, and that no
// damaged, unreadable or shared file and no failed write loses a score.
#include "frontend/best_scores.h"
#include "support/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Set when the process syncs a folder (this definition stands in for libc's).
bool syncedFolder = false;

}  // namespace

extern "C" int fsync(int fd) {
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) syncedFolder = true;
  static auto* real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
  return real(fd);
}

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
  std::vector<int> Scores() { return {bestScores[0], bestScores[1], bestScores[2]}; }
  void Set(int a, int b, int c) { bestScores[0] = a, bestScores[1] = b, bestScores[2] = c; }

  const fs::path home = fs::current_path();
  const fs::path root = MakeScratchDir("scores");
  const fs::path file = root / "data/TEXT/ranking.txt", userFile = root / "user/corvane/ranking.txt";
};

TEST_F(BestScores, LayoutsReadTheSameAndTheWrittenFormIsExact) {
  for (const char* text : {"300\n200\n100\n", "300\t200\t\t100", "  300   200 100"}) {
    WriteText(file, text);
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

TEST_F(BestScores, DamagedFilesAreReadAsFarAsTheyGoAndEachKeptAside) {
  const std::string aside = file.string() + ".damaged";
  struct Case {
    const char* text;
    std::vector<int> scores;
    const char* inPlay;
    std::string copy;
  } cases[] = {{"300 200", {300, 200, 0}, "now 300, 200, 0", aside},
               {"50 x 10", {50, 0, 0}, "now 50, 0, 0", aside + ".2"},
               {"7 99999999999 5", {7, 0, 0}, "now 7, 0, 0", aside + ".3"}};  // too big: no wrapping
  for (const Case& c : cases) {
    WriteText(file, c.text);
    testing::internal::CaptureStderr();
    LoadBestScores();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("\"" + c.copy + "\""), std::string::npos) << err;
    EXPECT_NE(err.find(c.inPlay), std::string::npos) << err;
    EXPECT_EQ(Scores(), c.scores);
    EXPECT_EQ(ReadText(c.copy), c.text);
  }
}

TEST_F(BestScores, AFileThatCannotBeReadIsNeverReplaced) {
  ASSERT_EQ(mkfifo(file.c_str(), 0666), 0);
  int pipe = open(file.c_str(), O_RDWR | O_NONBLOCK);  // a writer, so a blocking open would not hang here
  ASSERT_EQ(write(pipe, "1 2 3 ", 6), 6);
  testing::internal::CaptureStderr();
  LoadBestScores();
  EXPECT_EQ(Scores(), (std::vector<int>{0, 0, 0}));
  Set(40, 0, 0);
  SaveBestScores();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("cannot read the score file \"" + file.string() + "\" (not a regular file)"),
            std::string::npos) << err;
  EXPECT_TRUE(fs::is_fifo(file));
  EXPECT_EQ(ReadText(userFile), "40 0 0 ");
  close(pipe);

  fs::remove(file);
  fs::create_directories(file / "inside");
  LoadBestScores();
  Set(50, 40, 0);
  SaveBestScores();
  EXPECT_TRUE(fs::is_directory(file / "inside"));
  EXPECT_EQ(ReadText(userFile), "50 40 0 ");
}

TEST_F(BestScores, TwoCopiesOfTheGameKeepEachOthersScores) {
  WriteText(file, "300 200 100 ");
  LoadBestScores();
  WriteText(file, "500 300 200 ");  // the other copy reached 500 and quit first
  Set(400, 300, 200);           // this one reached 400
  SaveBestScores();
  SaveBestScores();  // (saved at the crash and again at exit)
  EXPECT_EQ(ReadText(file), "500 400 300 ");
}

TEST_F(BestScores, AWritableDataFolderIsNeverHiddenByTheUsersCopy) {
  WriteText(file, "300 200 100 ");
  fs::create_directories(userFile.parent_path());
  WriteText(userFile, "900 250 0 ");  // left from a time the data folder could not be written
  testing::internal::CaptureStderr();
  LoadBestScores();
  EXPECT_EQ(Scores(), (std::vector<int>{900, 300, 250}));
  SaveBestScores();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("saved in \"" + file.string() + "\""), std::string::npos) << err;
  EXPECT_EQ(ReadText(file), "900 300 250 ");
}

TEST_F(BestScores, FailedWritesKeepTheOldFile) {
  WriteText(file, "300 200 100 ");
  fs::create_directories(file.string() + ".new/in-the-way");  // the data folder refuses the new file
  LoadBestScores();
  Set(900, 800, 700);
  testing::internal::CaptureStderr();
  SaveBestScores();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("saved in \"" + userFile.string() + "\""), std::string::npos) << err;
  EXPECT_EQ(ReadText(file), "300 200 100 ");
  EXPECT_EQ(ReadText(userFile), "900 800 700 ");
  Set(0, 0, 0);
  LoadBestScores();
  EXPECT_EQ(Scores(), (std::vector<int>{900, 800, 700}));

  fs::remove_all(root / "user");
  WriteText(root / "user", "not a folder");  // nowhere to write at all
  testing::internal::CaptureStderr();
  SaveBestScores();
  err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("900, 800, 700 not saved"), std::string::npos) << err;
  EXPECT_EQ(ReadText(file), "300 200 100 ");
}

TEST_F(BestScores, ALinkKeepsPointingAtTheNewTableAndItsNameIsSynced) {
  WriteText(root / "kept.txt", "300 200 100 ");
  fs::create_symlink("../../kept.txt", file);
  LoadBestScores();
  Set(400, 300, 200);
  syncedFolder = false;
  SaveBestScores();
  EXPECT_TRUE(syncedFolder);
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(ReadText(root / "kept.txt"), "400 300 200 ");
}

}  // namespace
