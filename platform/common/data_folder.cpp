#include "common/data_folder.h"

#include <sys/stat.h>

namespace corvane {
namespace {

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

const std::vector<std::string>& GameDataFolders() {
  static const std::vector<std::string> folders = {"bmp", "wav", "XFILE", "TEXT"};
  return folders;
}

bool HoldsGameData(const std::string& dir) {
  for (const std::string& sub : GameDataFolders())
    if (IsDirectory(dir + "/" + sub)) return true;
  return false;
}

std::string ChooseDataFolder(const std::string& requested, const std::string& workingDir,
                             const std::vector<std::string>& fallbacks, std::string& error) {
  error.clear();
  if (!requested.empty()) {
    if (IsDirectory(requested)) return requested;
    error = "the data folder '" + requested + "' does not exist";
    return "";
  }
  if (HoldsGameData(workingDir)) return workingDir;
  for (const auto& dir : fallbacks)
    if (!dir.empty() && HoldsGameData(dir)) return dir;
  return "";
}

}  // namespace corvane
