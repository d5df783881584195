// Runs the built program with a live key script: the test reads each frame's
// state from the dump pipe and answers with the keys of the next frame.
//
//   LiveRun run;
//   ASSERT_TRUE(run.Start({"--capture", "10", "--capture-dir", dir}));
//   run.Send(0, "");
//   JsonValue state;
//   while (run.Next(state)) run.Send(frame + 1, keys);
//   run.Finish();  // exit code
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/corvane_run.h"

struct LiveRun {
  std::string workDir, dataDir, error;
  std::vector<std::string> sent;  // every script line written, in order

  ~LiveRun();
  // Starts the program headless on a scratch data folder with --script and
  // --dump all on pipes; false (with `error`) when it does not come up.
  bool Start(const std::vector<std::string>& extraArgs = {});
  // Writes "FRAME: KEYS".
  bool Send(int frame, const std::string& keys);
  // The next dump line; false at the end of the run or after `timeoutSeconds`
  // without one.
  bool Next(JsonValue& state, int timeoutSeconds = 60);
  // Ends the script input, reads the dump to its end and returns the exit
  // code (-1 when the program did not exit normally).
  int Finish();

 private:
  pid_t child_ = -1;
  int scriptFd_ = -1, dumpFd_ = -1;
  std::string pending_;
  bool ReadLine(std::string& line, int timeoutSeconds);
};
