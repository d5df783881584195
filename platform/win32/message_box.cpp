#include "win32/message_box.h"

#include <algorithm>
#include <cstdio>

#include "internal/startup_problem.h"

namespace corvane {
namespace {
std::string startupProblem;
}  // namespace

void NoteStartupProblem(const std::string& problem) {
  if (startupProblem.empty()) startupProblem = problem;
}

const std::string& StartupProblem() { return startupProblem; }

std::string ReportMessageBox(LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  const char* caption = lpCaption ? lpCaption : "Error";
  std::string text = lpText ? lpText : "";
  if ((uType & 0xF0) == MB_ICONHAND && !startupProblem.empty()) {
    std::fprintf(stderr, "corvane: %s\n", startupProblem.c_str());
    text += "\n\n" + startupProblem;
  } else {
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stderr, "%s: %s\n", caption, line.c_str());
  }
  std::fflush(stderr);
  return text;
}

}  // namespace corvane
