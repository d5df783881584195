// The program's command-line options (automation, data folder and the
// window). Parsed before WinMain; with none given the program runs exactly
// as on Windows.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvane {

// A set of frame numbers: "all", or a comma list of N and A-B ranges.
struct FrameSet {
  bool all = false;
  std::vector<std::pair<int, int>> ranges;
  bool Contains(int frame) const;
  bool Empty() const { return !all && ranges.empty(); }
};

// Reads a frame set; false (with a reason) on anything malformed.
bool ParseFrameSet(const std::string& text, FrameSet& out, std::string& error);

struct CommandLine {
  std::string dataDir;
  bool headless = false;
  std::string scriptFile;
  bool scriptFromStdin = false;  // --script -
  long frames = -1;  // -1: run until the window closes
  FrameSet dumpFrames;
  std::string dumpFile;
  FrameSet captureFrames;
  std::string captureDir;
  bool captureNote = false;  // --capture-note: captures show the comfort note as the window does
  std::string soundTraceFile;
  bool fullscreen = false;  // --fullscreen / --windowed, the last one wins
  bool displayModeGiven = false;  // either was given (it overrides the settings file)
  int scale = 0;            // --scale N; 0: the largest whole multiple that fits
};

enum class CommandLineResult { Run, Help, Version, Error };

// Parses argv[1..argc-1]. On Error, `error` says what is wrong.
CommandLineResult ParseCommandLine(int argc, const char* const* argv, CommandLine& out, std::string& error);

// The --help text.
const char* CommandLineUsage();

}  // namespace corvane
