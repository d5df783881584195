// One best-score file on disk: read without trusting what is at its path,
// replaced so that no failure or power loss leaves it half written, and set
// aside under a name of its own when it is damaged.
#pragma once

#include <cstddef>
#include <string>

struct ScoreFile {
  enum State { MISSING, SOUND, DAMAGED, UNREADABLE };
  State state = MISSING;
  int scores[3] = {0, 0, 0};  // as far as they could be read; the rest 0
  std::string problem;        // why it is damaged or unreadable
};

// Three whitespace-separated decimal integers, as fscanf("%d") reads them;
// one that cannot be read, or that does not fit an int, is damage and
// leaves it and every later entry at 0. `more` says the text was cut short
// at the reader's limit, so running into its end is damage too.
ScoreFile ParseScoreText(const char* text, size_t size, bool more);

// Reads a regular file without blocking on a pipe or device at its path.
ScoreFile ReadScoreFile(const std::string& path);

// Writes "A B C " to the file `path` finally names (symbolic links are
// followed and kept): beside it, synced, renamed over it, the folder synced.
// False with `error` when it cannot; the old file is then untouched.
bool ReplaceScoreFile(const std::string& path, const int scores[3], std::string& error);

// Renames the file `path` finally names to NAME.damaged, or .damaged.2 and
// up when that is taken. Returns the new name, or empty with `error`.
std::string SetAsideDamaged(const std::string& path, std::string& error);
