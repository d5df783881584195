// Starts a program as a child process for the tests: its output to files,
// its own working directory and environment, and a time limit.
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

struct ChildSetup {
  std::string workDir;                     // its working directory; empty keeps ours
  std::string outFile, errFile;            // stdout and stderr (may be one file); empty keeps ours
  std::map<std::string, std::string> env;  // set, or unset when the value is empty
  unsigned timeLimit = 300;                // seconds until SIGALRM ends it
  std::function<bool()> inChild;           // last step before exec; false exits 126
};

// The child's pid, or -1.
pid_t StartChild(const std::vector<std::string>& args, const ChildSetup& setup);

// How a child ended.
struct ChildEnd {
  int exitCode = -1;  // -1 when it did not exit normally
  bool killedByTimeLimit = false, endedBySignal = false;
  long peakKb = 0;  // peak resident memory of it and the children it waited for
};

// Waits for the child, killing it after `seconds` (0: no limit).
ChildEnd WaitChildEnd(pid_t pid, unsigned seconds = 0);

// The exit code of WaitChildEnd.
inline int WaitChild(pid_t pid, unsigned seconds = 0) { return WaitChildEnd(pid, seconds).exitCode; }

// Whether the child has ended, without reaping it.
bool ChildEnded(pid_t pid);

inline int RunChild(const std::vector<std::string>& args, const ChildSetup& setup) {
  return WaitChild(StartChild(args, setup));
}
