// The generator writes the same bytes on every run: its two side-by-side runs
// leave the same files, byte for byte (pictures, sounds, models and all).
#include <gtest/gtest.h>

#include <algorithm>

#include "support/generated_data.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> FilesUnder(const fs::path& root) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root));
  std::sort(files.begin(), files.end());
  return files;
}

TEST(GeneratedData, TwoRunsWriteTheSameFiles) {
  if (Generated().first.empty()) GTEST_FAIL() << Generated().problem;
  const std::vector<fs::path> files = FilesUnder(Generated().first);
  EXPECT_GT(files.size(), 50u);
  EXPECT_EQ(files, FilesUnder(Generated().second));
  for (const fs::path& file : files)
    EXPECT_TRUE(ReadBytes(Generated().first / file) == ReadBytes(Generated().second / file)) << file << " differs";
}

}  // namespace
