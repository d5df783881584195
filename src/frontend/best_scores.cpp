#include "frontend/best_scores.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

int bestScores[3] = {0, 0, 0};

namespace {

namespace fs = std::filesystem;

const char* const SCORE_FILE = "TEXT/ranking.txt";
const char* const USER_SCORE_FILE = "ranking.txt";

// Where the scores go when the data folder cannot be written, for example
// an installed read-only copy. Empty when no such folder can be named.
fs::path UserDataFolder() {
#ifdef _WIN32
  const char* appData = std::getenv("APPDATA");
  if (appData != NULL && appData[0] != '\0') return fs::path(appData) / "Corvane";
#else
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != NULL && dataHome[0] != '\0') return fs::path(dataHome) / "corvane";
  const char* home = std::getenv("HOME");
  if (home != NULL && home[0] != '\0') return fs::path(home) / ".local" / "share" / "corvane";
#endif
  return fs::path();
}

fs::path UserScoreFile() {
  fs::path folder = UserDataFolder();
  return folder.empty() ? folder : folder / USER_SCORE_FILE;
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::exists(path, error);
}

// Once the scores have had to move to the user's folder they live there.
fs::path ScoreFileInUse() {
  fs::path user = UserScoreFile();
  return Exists(user) ? user : fs::path(SCORE_FILE);
}

bool SyncToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

// Writes beside the old file and renames over it, so a failure at any
// point leaves the old scores whole.
bool WriteScoresReplacing(const fs::path& path) {
  std::error_code error;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), error);
  fs::path temporary = path;
  temporary += ".new";

  std::FILE* file = std::fopen(temporary.string().c_str(), "w");
  if (file == NULL) return false;
  bool written = true;
  for (int score : bestScores) {
    if (std::fprintf(file, "%d ", score) < 0) written = false;
  }
  if (written) written = SyncToDisk(file);
  if (std::fclose(file) != 0) written = false;
  if (written) {
    fs::rename(temporary, path, error);
    written = !error;
  }
  if (!written) fs::remove(temporary, error);
  return written;
}

void SetAsideDamaged(const fs::path& path) {
  fs::path aside = path;
  aside += ".damaged";
  std::error_code error;
  fs::rename(path, aside, error);
  if (error) {
    std::fprintf(stderr, "corvane: score file \"%s\" is damaged; starting from 0, 0, 0\n",
                 path.string().c_str());
  } else {
    std::fprintf(stderr,
                 "corvane: score file \"%s\" is damaged; kept as \"%s\", starting from 0, 0, 0\n",
                 path.string().c_str(), aside.string().c_str());
  }
}

}  // namespace

void LoadBestScores() {
  for (int& score : bestScores) score = 0;
  fs::path path = ScoreFileInUse();
  std::FILE* file = std::fopen(path.string().c_str(), "r");
  if (file == NULL) return;  // a first run: no scores yet

  // A failed conversion consumes nothing, so the later entries stay 0 too.
  int read = 0;
  while (read < 3 && std::fscanf(file, "%d", &bestScores[read]) == 1) ++read;
  std::fclose(file);
  if (read < 3) SetAsideDamaged(path);
}

void SaveBestScores() {
  fs::path path = ScoreFileInUse();
  if (WriteScoresReplacing(path)) return;

  fs::path user = UserScoreFile();
  if (!user.empty() && path != user && WriteScoresReplacing(user)) {
    std::fprintf(stderr, "corvane: cannot write \"%s\"; best scores kept in \"%s\"\n",
                 path.string().c_str(), user.string().c_str());
    return;
  }
  std::fprintf(stderr, "corvane: cannot write the best scores to \"%s\"; the old file is kept\n",
               path.string().c_str());
}
