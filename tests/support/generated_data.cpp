#include "support/generated_data.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

// Identifies one build of the generator.
std::string StampOf(const fs::path& tool) {
  std::error_code ec;
  auto written = fs::last_write_time(tool, ec).time_since_epoch().count();
  return std::to_string(written) + " " + std::to_string(fs::file_size(tool, ec));
}

GeneratedData RunGenerator() {
  GeneratedData data;
  fs::path tool = fs::path(CORVANE_BINARY_DIR) / "tools" / "assetgen" / "assetgen";
  if (!fs::exists(tool)) {
    data.problem = "assetgen is not built: " + tool.string();
    return data;
  }
  fs::path base = fs::path(CORVANE_BINARY_DIR) / "tests" / "generated_data";
  fs::create_directories(base);
  fs::path a = base / "a", b = base / "b", stampFile = base / "stamp";

  // Test processes may run in parallel: one generates, the others wait.
  int lock = ::open((base / "lock").c_str(), O_CREAT | O_RDWR, 0644);
  if (lock >= 0) ::flock(lock, LOCK_EX);
  std::string stamp = StampOf(tool);
  if (ReadText(stampFile) != stamp || !fs::exists(a / "wav") || !fs::exists(b / "wav")) {
    fs::remove(stampFile);
    fs::remove_all(a);
    fs::remove_all(b);
    std::string run = "\"" + tool.string() + "\" --out ";
    std::string cmd = "(" + run + "\"" + a.string() + "\" > /dev/null & " + run + "\"" + b.string() +
                      "\" > /dev/null & wait)";
    int status = std::system(cmd.c_str());
    if (status == 0 && fs::exists(a / "wav") && fs::exists(b / "wav")) WriteText(stampFile, stamp);
  }
  bool ready = ReadText(stampFile) == stamp;
  if (lock >= 0) ::close(lock);
  if (!ready) {
    data.problem = "assetgen did not produce its folders under " + base.string();
    return data;
  }
  data.first = a;
  data.second = b;
  return data;
}

}  // namespace

const GeneratedData& Generated() {
  static const GeneratedData data = RunGenerator();
  return data;
}
