#include "support/corpus.h"

#include <cstdlib>
#include <cstring>

std::filesystem::path CorpusFolder(const char* name) {
  const char* env = std::getenv("CORVANE_CORPUS_DIR");
  const std::filesystem::path root = env && *env ? env : CORVANE_CORPUS_DIR;
  return root / name;
}

std::string MissingCorpusFolder(const char* name) {
  const std::filesystem::path folder = CorpusFolder(name);
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return "";
  return "corpus not found at " + folder.string();
}

bool CorpusRequired() {
  const char* env = std::getenv("CORVANE_REQUIRE_CORPUS");
  return env && *env && std::strcmp(env, "0") != 0;
}
