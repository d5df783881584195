// The program's run from its options to its exit status, around the game's
// WinMain; each flavour's entry point calls it.
#pragma once

#include <string>
#include <vector>

namespace corvane {

struct ProgramFlavour {
  // Where the data folders are looked for after the working directory.
  std::vector<std::string> dataFallbacks;
  // What --headless needs besides SetHeadless (nullptr: nothing).
  void (*startHeadless)() = nullptr;
  // Work begun in the data folder before the window opens, on start-up's
  // behalf until its end (common/startup_work.h); nullptr: none.
  void (*startReadAhead)() = nullptr;
};

// Reads the options, moves into the data folder, starts automation and the
// player's settings and runs WinMain as Windows would.
int RunProgram(int argc, char** argv, const ProgramFlavour& flavour);

}  // namespace corvane
