#include "generated_data.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace {

GeneratedData RunGenerator() {
  GeneratedData data;
  fs::path tool = fs::path(CORVANE_BINARY_DIR) / "tools" / "assetgen" / "assetgen";
  if (!fs::exists(tool)) {
    data.problem = "assetgen is not built: " + tool.string();
    return data;
  }
  std::string stem = "corvane-sound-mesh-" + std::to_string(::getpid());
  fs::path a = fs::temp_directory_path() / (stem + "-a");
  fs::path b = fs::temp_directory_path() / (stem + "-b");
  fs::remove_all(a);
  fs::remove_all(b);
  std::string run = "\"" + tool.string() + "\" --out ";
  std::string cmd = "(" + run + "\"" + a.string() + "\" > /dev/null & " + run + "\"" + b.string() +
                    "\" > /dev/null & wait)";
  if (std::system(cmd.c_str()) != 0 || !fs::exists(a / "wav") || !fs::exists(b / "wav")) {
    data.problem = "assetgen did not produce its folders";
    return data;
  }
  data.first = a;
  data.second = b;
  std::atexit([] {
    std::error_code ec;
    fs::remove_all(Generated().first, ec);
    fs::remove_all(Generated().second, ec);
  });
  return data;
}

}  // namespace

const GeneratedData& Generated() {
  static const GeneratedData data = RunGenerator();
  return data;
}

std::vector<uint8_t> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}
