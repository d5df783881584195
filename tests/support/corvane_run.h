// Runs the built `corvane` program as a child process through its automation
// options and collects what it wrote.
//
//   CorvaneRunOptions options;
//   options.script = "0: enter\n5:\n";      // key script text (written to a file)
//   options.frames = 30;                    // --frames
//   options.dumpFrames = "0,29";            // --dump (FRAMES syntax: all | N,A-B,...)
//   options.captureFrames = "29";           // --capture
//   options.soundTrace = true;              // --sound-trace
//   CorvaneRun run = RunCorvane(options);
//   run.exitCode; run.stderrText; run.At(29)["scene"].number;
//   run.Calls("SND_TRAMP", "Play") (frames); CapturePath(run, 29).
//
// Every run is in a fresh scratch folder, on a private data folder
// (MakeScratchDataDir) so best scores written by one test never reach
// another.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/json_value.h"

struct CorvaneRunOptions {
  std::string script;         // script text; empty = no --script
  long frames = -1;           // --frames; -1 = none
  std::string dumpFrames;     // --dump
  std::string captureFrames;  // --capture
  bool soundTrace = false;    // --sound-trace
  bool headless = true;       // --headless
  std::string dataDir;        // --data; empty = a fresh scratch data folder
  std::function<void(const std::string& dataDir)> prepareData;  // edits the scratch data folder first
  std::vector<std::string> extraArgs;
  std::vector<std::string> environment;  // NAME=VALUE to set, or NAME alone to unset
  int timeoutSeconds = 300;
};

// One DirectSound call of the sound trace: FRAME SLOT METHOD ARGS.
struct TraceLine {
  int frame = -1;
  std::string slot, method, args;
};

struct CorvaneRun {
  int exitCode = -1;          // -1 when the program did not exit normally
  std::string stderrText;
  std::string stdoutText;
  std::string workDir;        // the run's scratch folder
  std::string dataDir;        // the data folder it ran on
  std::vector<JsonValue> dump;
  std::vector<TraceLine> trace;
  std::vector<std::string> soundTrace;  // the same lines as written

  // The dump of `frame`; a Null value (and a test failure) when it has none.
  const JsonValue& At(int frame) const;
  // Frames of the calls of `method` on `slot` with `args` (empty: any), in order.
  std::vector<int> Calls(const std::string& slot, const std::string& method, const std::string& args = "") const;
};

// Path of the built program.
std::string CorvaneBinary();

// A data folder whose bmp/, wav/ and XFILE/ link to the build's generated
// data and whose TEXT/ is its own (a copy of the build's, if any).
std::string MakeScratchDataDir();

CorvaneRun RunCorvane(const CorvaneRunOptions& options);

// Reads the dump (dump.jsonl) and sound trace (sound.trace) a run left in its
// workDir: for runs of the game's other builds as well.
void ReadRunFiles(CorvaneRun& run);

// A state dump file, one value a line (Null for a line that does not parse);
// a last line still being written is left out.
std::vector<JsonValue> ReadDump(const std::string& path);

// DIR/frame-NNNNNN.png of a run with captures (in workDir/captures).
std::string CapturePath(const CorvaneRun& run, int frame);

// Reads a PNG as RGBA rows top first; false when it cannot be read.
bool ReadPng(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgba);
