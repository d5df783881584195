// Helpers for tests that drive the built `corvane` program as a child
// process through its automation options.
//
//   CorvaneRunOptions options;
//   options.script = "0: enter\n5:\n";      // key script text (written to a file)
//   options.frames = 30;                    // --frames
//   options.dumpFrames = "0,29";            // --dump (FRAMES syntax: all | N,A-B,...)
//   options.captureFrames = "29";           // --capture
//   options.soundTrace = true;              // --sound-trace
//   CorvaneRun run = RunCorvane(options);
//   run.exitCode; run.stderrText; run.dump (one parsed JSON object per dumped
//   frame, in order); CapturePath(run, 29); run.soundTrace (lines).
//
// Every run is --headless (unless asked otherwise), in a fresh scratch
// folder, with a private data folder (MakeScratchDataDir) so best scores
// written by one test never reach another. JsonValue is a small reader for the dump lines.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct JsonValue {
  enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
  bool boolean = false;
  double number = 0.0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  // Member or element; a Null value when absent (so chains never throw).
  const JsonValue& operator[](const std::string& key) const;
  const JsonValue& operator[](size_t index) const;
  bool Has(const std::string& key) const { return members.count(key) != 0; }
};

// Parses one JSON text (NaN/Infinity accepted); false on malformed input.
bool ParseJson(const std::string& text, JsonValue& out);

struct CorvaneRunOptions {
  std::string script;         // script text; empty = no --script
  long frames = -1;           // --frames; -1 = none
  std::string dumpFrames;     // --dump
  std::string captureFrames;  // --capture
  bool soundTrace = false;    // --sound-trace
  std::string dataDir;        // --data; empty = a fresh scratch data folder
  std::vector<std::string> extraArgs;
  bool headless = true;                  // --headless
  std::vector<std::string> environment;  // NAME=VALUE to set, or NAME alone to unset
  int timeoutSeconds = 300;
};

struct CorvaneRun {
  int exitCode = -1;          // -1 when the program did not exit normally
  std::string stderrText;
  std::string stdoutText;
  std::string workDir;        // the run's scratch folder
  std::string dataDir;        // the data folder it ran on
  std::vector<JsonValue> dump;
  std::vector<std::string> soundTrace;
};

// Path of the built program.
std::string CorvaneBinary();

// A new empty folder under the system's temporary folder.
std::string MakeScratchDir(const std::string& label);

// A data folder whose bmp/, wav/ and XFILE/ link to the build's generated
// data and whose TEXT/ is its own (a copy of the build's, if any).
std::string MakeScratchDataDir();

CorvaneRun RunCorvane(const CorvaneRunOptions& options);

// DIR/frame-NNNNNN.png of a run with captures.
std::string CapturePath(const CorvaneRun& run, int frame);

// Reads a PNG as RGBA rows top first; false when it cannot be read.
bool ReadPng(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgba);
