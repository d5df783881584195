// Scratch folders, a working directory for one scope, and whole-file reads
// and writes for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A new empty folder under the system's temporary folder, named after
// `label`. It is removed when the test program ends, unless CORVANE_KEEP_RUNS
// is set (to look at what a failed test left). Empty when none can be made.
std::string MakeScratchDir(const std::string& label);

// Changes the working directory until the end of the scope.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& path);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::string previous_;
};

// The whole file; empty when it cannot be read.
std::string ReadText(const std::string& path);
std::vector<uint8_t> ReadBytes(const std::string& path);

void WriteText(const std::string& path, const std::string& text);

// How often `part` occurs in `text` (a message said once, a line count).
int Occurrences(const std::string& text, const std::string& part);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
