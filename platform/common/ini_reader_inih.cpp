// The INI reader of the Linux build: inih, with the lines counted so that a
// problem can say where it is.
#include <ini.h>

#include <cstdio>

#include "common/ini_reader.h"

namespace corvane {
namespace {

struct ReadState {
  const IniEntry* entry;
  std::FILE* file;
  int line;           // the line inih has just been given
  std::string error;  // the first problem, "line N: ..."
};

char* ReadLine(char* text, int size, void* user) {
  auto* state = static_cast<ReadState*>(user);
  char* got = std::fgets(text, size, state->file);
  if (got) ++state->line;
  return got;
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int OnEntry(void* user, const char* section, const char* name, const char* value) {
  auto* state = static_cast<ReadState*>(user);
  std::string problem = (*state->entry)(section, name, Trimmed(value));
  if (!problem.empty() && state->error.empty()) state->error = "line " + std::to_string(state->line) + ": " + problem;
  return problem.empty() ? 1 : 0;
}

}  // namespace

bool ReadIniFile(const std::string& path, const IniEntry& entry, std::string& error) {
  IniFile file = OpenIniFile(path, error);
  if (!file) return false;
  ReadState state{&entry, file.get(), 0, ""};
  int result = ini_parse_stream(ReadLine, &state, OnEntry, &state);
  if (result != 0 && state.error.empty())
    state.error = result > 0 ? "line " + std::to_string(result) + ": not a [section] or name = value line"
                             : "cannot be read";
  error = state.error;
  return error.empty();
}

}  // namespace corvane
