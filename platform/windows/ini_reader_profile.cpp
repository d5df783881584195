// The INI reader of the Windows build: the Windows API's profile functions.
// They pass over anything before the first [section] without a word, so
// that part is looked at here: a file that is not a settings file must be
// reported as damaged, never taken for an empty one and written over.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "common/ini_reader.h"

namespace corvane {
namespace {

constexpr DWORD PROFILE_BUFFER = 32767;  // the most a section may return

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsComment(const std::string& line) { return line.empty() || line[0] == '#' || line[0] == ';'; }

// A ';' after a space or tab starts a comment, as inih reads it on Linux.
std::string WithoutInlineComment(const std::string& line) {
  for (size_t at = line.find(';'); at != std::string::npos; at = line.find(';', at + 1))
    if (at > 0 && (line[at - 1] == ' ' || line[at - 1] == '\t')) return Trimmed(line.substr(0, at));
  return line;
}

// Only blank lines and comments may come before the first [section].
bool CheckLeadingLines(std::FILE* file, std::string& error) {
  char text[4096];
  for (int line = 1; std::fgets(text, sizeof text, file); ++line) {
    std::string trimmed = Trimmed(line == 1 && std::strncmp(text, "\xEF\xBB\xBF", 3) == 0 ? text + 3 : text);
    if (!trimmed.empty() && trimmed[0] == '[') return true;
    if (!IsComment(trimmed)) {
      error = "line " + std::to_string(line) + ": not a [section] or name = value line";
      return false;
    }
  }
  return true;
}

// "name=value" strings, each ended by a NUL, the list by a second one.
std::vector<std::string> NulSeparated(const std::vector<char>& buffer, DWORD length) {
  std::vector<std::string> items;
  for (DWORD at = 0; at < length && buffer[at] != '\0'; at += (DWORD)items.back().size() + 1)
    items.emplace_back(&buffer[at]);
  return items;
}

bool ReadSection(const std::string& path, const std::string& section, const IniEntry& entry, std::string& error) {
  std::vector<char> buffer(PROFILE_BUFFER);
  DWORD length = GetPrivateProfileSectionA(section.c_str(), buffer.data(), PROFILE_BUFFER, path.c_str());
  for (const std::string& raw : NulSeparated(buffer, length)) {
    std::string line = WithoutInlineComment(Trimmed(raw));
    if (IsComment(line)) continue;
    size_t equals = line.find('=');
    std::string problem = equals == std::string::npos
                              ? "'" + line + "' is not a name = value line"
                              : entry(section, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)));
    if (!problem.empty()) {
      error = "in [" + section + "]: " + problem;
      return false;
    }
  }
  return true;
}

}  // namespace

bool ReadIniFile(const std::string& path, const IniEntry& entry, std::string& error) {
  IniFile file = OpenIniFile(path, error);
  if (!file) return false;
  if (!CheckLeadingLines(file.get(), error)) return false;
  file.reset();  // the profile functions open it themselves
  std::vector<char> names(PROFILE_BUFFER);
  DWORD length = GetPrivateProfileSectionNamesA(names.data(), PROFILE_BUFFER, path.c_str());
  for (const std::string& section : NulSeparated(names, length))
    if (!ReadSection(path, section, entry, error)) return false;
  return true;
}

}  // namespace corvane
