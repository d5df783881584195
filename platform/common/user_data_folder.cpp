#include "common/user_data_folder.h"

#include <shlobj.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>

namespace corvane {
namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string UserDataFolder() {
  char appData[MAX_PATH];
  if (FAILED(SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, appData))) return "";
  return std::string(appData) + "/corvane";
}

bool MakeDirectories(const std::string& path) {
  std::string partial;
  std::stringstream parts(path);
  std::string piece;
  if (!path.empty() && path[0] == '/') partial = "/";
  while (std::getline(parts, piece, '/')) {
    if (piece.empty()) continue;
    partial += piece + "/";
    if (mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return true;
}

std::string NewScreenshotPath(std::string& error) {
  std::string folder = UserDataFolder();
  if (folder.empty()) {
    error = "no folder for screenshots (neither XDG_DATA_HOME nor HOME is set)";
    return "";
  }
  folder += "/screenshots";
  if (!MakeDirectories(folder)) {
    error = "cannot make the screenshot folder '" + folder + "': " + std::strerror(errno);
    return "";
  }
  std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::string base = folder + "/corvane-" + stamp;
  std::string path = base + ".png";
  for (int n = 2; Exists(path); ++n) path = base + "-" + std::to_string(n) + ".png";
  return path;
}

}  // namespace corvane
