#include "common/user_data_folder.h"

#include <shlobj.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

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

std::string NewScreenshotPath(std::string& error) {
  std::string folder = UserDataFolder();
  if (folder.empty()) {
    error = "no folder for screenshots (neither XDG_DATA_HOME nor HOME is set)";
    return "";
  }
  folder += "/screenshots";
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  if (failure) {
    error = "cannot make the screenshot folder '" + folder + "': " + failure.message();
    return "";
  }
  std::time_t now = std::time(nullptr);
  std::tm local = {};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::string base = folder + "/corvane-" + stamp;
  std::string path = base + ".png";
  for (int n = 2; Exists(path); ++n) path = base + "-" + std::to_string(n) + ".png";
  return path;
}

}  // namespace corvane
