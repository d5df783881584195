// Key scripts for automated runs. Each line is "FRAME: TOKENS"; the keys
// named are held from that frame until the next line. Tokens: up down left
// right enter esc d alt f11 f12 (the game's keys), key:NAME (a keyboard key
// by SDL's name, standing for whatever the player's settings make it) and close (the window's close button,
// pressed once at the start of that frame). Blank lines and text after '#' are
// ignored; frames must increase from line to line.
//
// A script comes either whole (a file, read before the first frame) or live
// (a pipe or standard input, read line by line as the frames need it, so a
// driver can answer each frame's state dump with the next frame's keys).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace corvane {

struct ScriptLine {
  int frame = 0;
  std::vector<int> keys;  // virtual-key codes held
  std::vector<int> keyboardKeys;  // key codes held (key_names.h)
  bool close = false;
};

struct InputScript {
  std::vector<ScriptLine> lines;

  // The line in force at a frame; nullptr before the first line.
  const ScriptLine* LineAt(int frame) const;
  // The line that starts exactly at a frame; nullptr if none does.
  const ScriptLine* LineStartingAt(int frame) const;
};

// The script keys. Alt comes first so that a line holding "alt enter" has
// Alt down before its Enter arrives.
constexpr int SCRIPT_KEY_COUNT = 10;
extern const int SCRIPT_KEYS[SCRIPT_KEY_COUNT];

// The longest line a script may hold; longer ones are malformed.
constexpr size_t MAX_SCRIPT_LINE = 4096;

// Parses script text; false with "line N: reason" on a malformed line.
bool ParseInputScript(const std::string& text, InputScript& out, std::string& error);

// Reads a live script from a stream as far as the frames need it.
struct LiveScriptReader {
  std::FILE* in = nullptr;
  int lineNumber = 0;
  bool ended = false;  // end of input (or a malformed line): nothing more comes

  // Reads lines into `script` until one for `frame` or later has arrived or
  // the input ends; blocks while the writer has not written them. False with
  // "line N: reason" on a malformed line, which also ends the reading.
  bool ReadThrough(int frame, InputScript& script, std::string& error);
};

}  // namespace corvane
