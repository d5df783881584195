#include "scratch_player.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

namespace corvane::bench {

namespace fs = std::filesystem;

ScratchPlayer::ScratchPlayer(const std::string& realDataDir) {
  std::string pattern = (fs::temp_directory_path() / "corvane-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    error_ = "cannot make a scratch folder in " + fs::temp_directory_path().string();
    return;
  }
  root_ = pattern;
  std::error_code failure;
  const fs::path data = fs::path(root_) / "data", real = fs::absolute(realDataDir, failure);
  fs::create_directories(data / "TEXT", failure);
  for (const char* sub : {"bmp", "wav", "XFILE"})
    if (!failure && fs::is_directory(real / sub)) fs::create_directory_symlink(real / sub, data / sub, failure);
  fs::create_directories(fs::path(root_) / "config", failure);
  fs::create_directories(fs::path(root_) / "share", failure);
  if (failure) {
    error_ = "cannot prepare the scratch folder " + root_ + ": " + failure.message();
    return;
  }
  setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (root_ + "/share").c_str(), 1);
  dataDir_ = data.string();
}

ScratchPlayer::~ScratchPlayer() {
  std::error_code ignored;
  if (!root_.empty()) fs::remove_all(root_, ignored);  // removes the links, not what they point to
}

}  // namespace corvane::bench
