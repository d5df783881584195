#include "frontend/best_scores.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "frontend/score_file.h"

int bestScores[3] = {0, 0, 0};

namespace {

namespace fs = std::filesystem;

// Where the scores live: the data folder's file whenever it can be written;
// the player's own folder only when it cannot (an installed, read-only
// copy). Both are read, so a copy in either place is never hidden.
const char* const DATA_SCORE_FILE = "TEXT/ranking.txt";
enum { DATA, USER, PLACES };

// The table as last read or saved: what this run added since is measured
// against it.
int loadedScores[3] = {0, 0, 0};

// The game saves at every new best score and at exit; where the scores went
// is said once, not at every save.
void SayOnce(const std::string& line) {
  static std::string said;
  if (line == said) return;
  said = line;
  std::fputs(line.c_str(), stderr);
}

std::string UserScoreFile() {
  char folder[MAX_PATH];
  if (FAILED(SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, folder))) return "";
  return (fs::path(folder) / "corvane" / "ranking.txt").string();
}

std::string Shown(const std::string& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  return "\"" + (error ? path : absolute.string()) + "\"";
}

std::string TableText(const int table[3]) {
  return std::to_string(table[0]) + ", " + std::to_string(table[1]) + ", " + std::to_string(table[2]);
}

// As a finished run puts its score in: an equal score goes above.
void InsertScore(int table[3], int score) {
  int k = 0;
  while (k < 3 && table[k] > score) ++k;
  if (k == 3) return;
  for (int i = 2; i > k; --i) table[i] = table[i - 1];
  table[k] = score;
}

// Best three of two tables; a score both hold counts once, so a table
// united with a copy of itself stays as it is.
void UniteTables(int into[3], const int other[3]) {
  int a[3], b[3], out[3];
  std::copy(into, into + 3, a);
  std::copy(other, other + 3, b);
  std::sort(a, a + 3, std::greater<int>());
  std::sort(b, b + 3, std::greater<int>());
  for (int i = 0, j = 0, n = 0; n < 3; ++n) {
    if (j == 3 || (i < 3 && a[i] > b[j])) {
      out[n] = a[i++];
    } else if (i == 3 || b[j] > a[i]) {
      out[n] = b[j++];
    } else {
      out[n] = a[i++], ++j;
    }
  }
  std::copy(out, out + 3, into);
}

// Puts into `table` each score of `now` that `before` does not account for:
// the scores this run reached.
void AddNewScores(int table[3], const int now[3], const int before[3]) {
  bool used[3] = {false, false, false};
  for (int i = 0; i < 3; ++i) {
    int match = 0;
    while (match < 3 && (used[match] || before[match] != now[i])) ++match;
    if (match < 3) {
      used[match] = true;
    } else {
      InsertScore(table, now[i]);
    }
  }
}

// Both places as they are now. A damaged file is set aside with what it
// still held kept in play; an unreadable one is left alone.
struct ScorePlaces {
  std::string path[PLACES];
  ScoreFile file[PLACES];
  int table[3] = {0, 0, 0};  // best three of the files that hold scores
  int holders = 0;
};

ScorePlaces ReadPlaces(bool reportUnreadable) {
  ScorePlaces places;
  places.path[DATA] = DATA_SCORE_FILE;
  places.path[USER] = UserScoreFile();
  std::vector<std::string> damageReports;
  for (int i = 0; i < PLACES; ++i) {
    if (places.path[i].empty()) continue;
    ScoreFile& file = places.file[i];
    file = ReadScoreFile(places.path[i]);
    if (file.state == ScoreFile::UNREADABLE) {
      if (reportUnreadable) {
        std::fprintf(stderr, "corvane: cannot read the score file %s (%s); it is left as it is\n",
                     Shown(places.path[i]).c_str(), file.problem.c_str());
      }
      continue;
    }
    if (file.state == ScoreFile::MISSING) continue;
    if (file.state == ScoreFile::DAMAGED) {
      std::string error, aside = SetAsideDamaged(places.path[i], error);
      std::string kept = aside.empty() ? "cannot keep it aside (" + error + "), so it is left as it is"
                                       : "kept as " + Shown(aside);
      damageReports.push_back("corvane: score file " + Shown(places.path[i]) + " is damaged (" +
                              file.problem + "); " + kept);
      if (aside.empty()) file.state = ScoreFile::UNREADABLE;  // never written over
    }
    if (places.holders++ == 0) {
      std::copy(file.scores, file.scores + 3, places.table);
    } else {
      UniteTables(places.table, file.scores);
    }
  }
  for (const std::string& report : damageReports) {
    std::fprintf(stderr, "%s; best scores now %s\n", report.c_str(), TableText(places.table).c_str());
  }
  return places;
}

// The first place that takes the table, passing over a file that could not
// be read or set aside.
void WriteToFirstUsablePlace(const ScorePlaces& places, const int table[3]) {
  std::string why[PLACES];
  for (int i = 0; i < PLACES; ++i) {
    if (places.path[i].empty()) {
      why[i] = "no user data folder can be named";
      continue;
    }
    if (places.file[i].state == ScoreFile::UNREADABLE) {
      why[i] = Shown(places.path[i]) + " is left as it is";
      continue;
    }
    std::string error;
    if (ReplaceScoreFile(places.path[i], table, error)) {
      if (i == USER) {
        SayOnce("corvane: best scores saved in " + Shown(places.path[USER]) + " (" + why[DATA] + ")\n");
      } else if (places.holders == PLACES) {
        SayOnce("corvane: best scores of " + Shown(places.path[DATA]) + " and " + Shown(places.path[USER]) +
                " combined; saved in " + Shown(places.path[DATA]) + "\n");
      }
      return;
    }
    why[i] = Shown(places.path[i]) + " cannot be written: " + error;
  }
  SayOnce("corvane: best scores " + TableText(table) + " not saved (" + why[DATA] + "; " + why[USER] +
          "); the files are left as they were\n");
}

}  // namespace

void LoadBestScores() {
  ScorePlaces places = ReadPlaces(true);
  std::copy(places.table, places.table + 3, bestScores);
  std::copy(places.table, places.table + 3, loadedScores);
}

// Another copy of the game may have saved since this one last read or saved:
// the files are read again and this run's new scores go into what they hold.
void SaveBestScores() {
  ScorePlaces places = ReadPlaces(false);
  if (!std::equal(places.table, places.table + 3, loadedScores)) {
    UniteTables(places.table, loadedScores);  // a file removed meanwhile loses nothing
    AddNewScores(places.table, bestScores, loadedScores);
    std::copy(places.table, places.table + 3, bestScores);
  }
  std::copy(bestScores, bestScores + 3, loadedScores);
  WriteToFirstUsablePlace(places, bestScores);
}
