// libFuzzer target: any bytes as a best-score file through the game's reader.
// It must read what fscanf("%d") reads, the reading the file format is
// defined by, call damaged exactly what fscanf cannot read three numbers
// from (or holds one past 32 bits), and a sound table must survive being
// written back.
#include <cstdint>
#include <cstdio>
#include <string>

#include "frontend/score_file.h"
#include "input_file.h"

namespace {

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteInputFile("input.txt", data, size);
  if (path.empty()) return 0;

  ScoreFile file = ReadScoreFile(path);
  Require(file.state == ScoreFile::SOUND || file.state == ScoreFile::DAMAGED);
  Require((file.state == ScoreFile::DAMAGED) == !file.problem.empty());
  int scanned[3] = {0, 0, 0};
  std::FILE* f = std::fopen(path.c_str(), "r");
  Require(f != nullptr);
  int read = std::fscanf(f, "%d%d%d", &scanned[0], &scanned[1], &scanned[2]);
  std::fclose(f);
  // What fscanf makes of a number past 32 bits is not defined; anything else
  // must read the same.
  if (file.problem.find("out of range") != std::string::npos) return 0;
  Require((file.state == ScoreFile::SOUND) == (read == 3));
  for (int i = 0; i < read; ++i) Require(scanned[i] == file.scores[i]);
  if (file.state == ScoreFile::DAMAGED) return 0;

  std::string written;
  for (int i = 0; i < 3; ++i) written += std::to_string(file.scores[i]) + " ";
  ScoreFile again = ParseScoreText(written.data(), written.size(), false);
  Require(again.state == ScoreFile::SOUND);
  for (int i = 0; i < 3; ++i) Require(again.scores[i] == file.scores[i]);
  return 0;
}
