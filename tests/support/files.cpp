#include "support/files.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Removes the scratch folders as the program ends. Children that exec or
// _exit never run this.
struct ScratchFolders {
  std::vector<std::string> made;
  ~ScratchFolders() {
    if (std::getenv("CORVANE_KEEP_RUNS")) return;
    std::error_code ignored;
    for (const std::string& dir : made) std::filesystem::remove_all(dir, ignored);
  }
};

ScratchFolders& Folders() {
  static ScratchFolders folders;
  return folders;
}

}  // namespace

std::string MakeScratchDir(const std::string& label) {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/corvane-" + label + "-XXXXXX";
  if (!mkdtemp(pattern.data())) return "";
  Folders().made.push_back(pattern);
  return pattern;
}

WorkingDirectory::WorkingDirectory(const std::string& path) : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(path);
}

WorkingDirectory::~WorkingDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), (std::streamsize)bytes.size());
}

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}
