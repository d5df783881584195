// The web flavour's INI reader (there is no inih for WebAssembly here):
// [section] lines, name = value lines, blank lines and ; or # comments, as
// inih reads the settings file.
#include <cstdio>

#include "common/ini_reader.h"

namespace corvane {
namespace {

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// What is wrong with one line, or "".
std::string ReadLine(const std::string& text, std::string& section, const IniEntry& entry) {
  if (text.empty() || text[0] == ';' || text[0] == '#') return "";
  const size_t split = text[0] == '[' ? text.find(']') : text.find_first_of("=:");
  if (split == std::string::npos) return "not a [section] or name = value line";
  if (text[0] == '[') {
    section = Trimmed(text.substr(1, split - 1));
    return "";
  }
  return entry(section, Trimmed(text.substr(0, split)), Trimmed(text.substr(split + 1)));
}

}  // namespace

bool ReadIniFile(const std::string& path, const IniEntry& entry, std::string& error) {
  IniFile file = OpenIniFile(path, error);
  if (!file) return false;
  std::string section, problem;
  char line[1024];
  for (int number = 1; problem.empty() && std::fgets(line, sizeof line, file.get()); ++number) {
    problem = ReadLine(Trimmed(line), section, entry);
    if (!problem.empty()) error = "line " + std::to_string(number) + ": " + problem;
  }
  return problem.empty();
}

}  // namespace corvane
