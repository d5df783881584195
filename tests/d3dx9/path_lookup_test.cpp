// Windows file names (either separator, any case) found on a case-sensitive
// file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/path_lookup.h"
#include "support/files.h"

namespace fs = std::filesystem;

TEST(PathLookup, FindsFilesWhateverTheSeparatorOrCase) {
  const fs::path root = MakeScratchDir("path-lookup");
  fs::create_directories(root / "XFILE" / "Sub");
  std::ofstream(root / "XFILE" / "Sub" / "Stone.x") << "x";
  std::ofstream(root / "XFILE" / "stone.x") << "lower";
  std::ofstream(root / "XFILE" / "Stone.X") << "upper";
  const std::string base = root.string();

  EXPECT_EQ(corvane::ResolvePath(base + "/XFILE/Sub/Stone.x"), base + "/XFILE/Sub/Stone.x");
  EXPECT_EQ(corvane::ResolvePath(base + "\\XFILE\\Sub\\Stone.x"), base + "/XFILE/Sub/Stone.x");
  EXPECT_EQ(corvane::ResolvePath(base + "/xfile\\SUB/stone.X"), base + "/XFILE/Sub/Stone.x");
  // An exact spelling wins over other case variants in the same folder.
  EXPECT_EQ(corvane::ResolvePath(base + "/xfile/stone.x"), base + "/XFILE/stone.x");
  EXPECT_EQ(corvane::ResolvePath(base + "/xfile/Stone.X"), base + "/XFILE/Stone.X");
  EXPECT_EQ(corvane::ResolvePath(base + "/xfile/./Sub/../stone.x"), base + "/XFILE/Sub/../stone.x");
  EXPECT_EQ(corvane::ResolvePath(base + "/XFILE/missing.x"), "");
  EXPECT_EQ(corvane::ResolvePath(""), "");

  // Relative names resolve against the working directory.
  WorkingDirectory inRoot(root);
  EXPECT_EQ(corvane::ResolvePath(".\\xfile\\sub\\STONE.X"), "XFILE/Sub/Stone.x");
}
