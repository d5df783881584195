#include "common/input_script.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "common/key_names.h"

namespace corvane {

const int SCRIPT_KEYS[SCRIPT_KEY_COUNT] = {VK_MENU, VK_UP,     VK_DOWN, VK_LEFT, VK_RIGHT,
                                          VK_RETURN, VK_ESCAPE, 'D',     VK_F11,  VK_F12};

namespace {

const char* const KEY_TOKENS[SCRIPT_KEY_COUNT] = {"alt",   "up",  "down", "left", "right",
                                                  "enter", "esc", "d",    "f11",  "f12"};

std::string Lower(std::string s) {
  for (char& c : s) c = (char)std::tolower((unsigned char)c);
  return s;
}

bool ParseLine(const std::string& raw, ScriptLine& line, std::string& reason) {
  size_t colon = raw.find(':');
  if (colon == std::string::npos) {
    reason = "expected 'FRAME: KEYS'";
    return false;
  }
  std::string number = raw.substr(0, colon);
  size_t b = number.find_first_not_of(" \t"), e = number.find_last_not_of(" \t");
  number = b == std::string::npos ? "" : number.substr(b, e - b + 1);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || number.size() > 9) {
    reason = "'" + number + "' is not a frame number";
    return false;
  }
  line.frame = std::atoi(number.c_str());
  std::istringstream tokens(raw.substr(colon + 1));
  std::string token;
  while (tokens >> token) {
    token = Lower(token);
    if (token == "close") {
      line.close = true;
      continue;
    }
    if (token.compare(0, 4, "key:") == 0) {
      int code = KeyCodeFromName(token.substr(4));
      if (code == 0) {
        reason = "no keyboard key is called '" + token.substr(4) + "'";
        return false;
      }
      line.keyboardKeys.push_back(code);
      continue;
    }
    int found = -1;
    for (int i = 0; i < SCRIPT_KEY_COUNT; ++i)
      if (token == KEY_TOKENS[i]) found = i;
    if (found < 0) {
      reason = "unknown key '" + token + "' (keys: up down left right enter esc d alt f11 f12, key:NAME, and close)";
      return false;
    }
    line.keys.push_back(SCRIPT_KEYS[found]);
  }
  return true;
}

// One raw line of text: comments and blank lines are dropped, anything else
// must parse and come after the lines already read.
bool AddLine(std::string raw, int lineNumber, InputScript& script, std::string& error) {
  // Editors on some systems begin a UTF-8 file with a byte-order mark.
  if (lineNumber == 1 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) raw.erase(0, 3);
  if (raw.size() > MAX_SCRIPT_LINE) {
    error = "line " + std::to_string(lineNumber) + ": longer than " + std::to_string(MAX_SCRIPT_LINE) + " characters";
    return false;
  }
  size_t hash = raw.find('#');
  if (hash != std::string::npos) raw.erase(hash);
  if (raw.find_first_not_of(" \t\r\n") == std::string::npos) return true;
  ScriptLine line;
  std::string reason;
  if (!ParseLine(raw, line, reason)) {
    error = "line " + std::to_string(lineNumber) + ": " + reason;
    return false;
  }
  if (!script.lines.empty() && line.frame <= script.lines.back().frame) {
    error = "line " + std::to_string(lineNumber) + ": frame " + std::to_string(line.frame) +
            " does not come after frame " + std::to_string(script.lines.back().frame);
    return false;
  }
  script.lines.push_back(line);
  return true;
}

bool FrameBefore(int frame, const ScriptLine& line) { return frame < line.frame; }

}  // namespace

// Live scripts grow to a line per frame, so the lookups are binary searches.
const ScriptLine* InputScript::LineAt(int frame) const {
  auto after = std::upper_bound(lines.begin(), lines.end(), frame, FrameBefore);
  return after == lines.begin() ? nullptr : &*(after - 1);
}

const ScriptLine* InputScript::LineStartingAt(int frame) const {
  const ScriptLine* line = LineAt(frame);
  return line && line->frame == frame ? line : nullptr;
}

bool ParseInputScript(const std::string& text, InputScript& out, std::string& error) {
  out.lines.clear();
  std::istringstream input(text);
  std::string raw;
  int lineNumber = 0;
  while (std::getline(input, raw))
    if (!AddLine(raw, ++lineNumber, out, error)) return false;
  return true;
}

bool LiveScriptReader::ReadThrough(int frame, InputScript& script, std::string& error) {
  while (!ended && (script.lines.empty() || script.lines.back().frame < frame)) {
    // One character past the limit is enough for AddLine to refuse the line,
    // so a stream without line breaks cannot fill the memory.
    std::string raw;
    int c = 0;
    while (raw.size() <= MAX_SCRIPT_LINE && (c = std::fgetc(in)) != EOF && c != '\n') raw += (char)c;
    if (c == EOF && raw.empty()) {
      ended = true;
      break;
    }
    if (!AddLine(raw, ++lineNumber, script, error)) {
      ended = true;
      return false;
    }
  }
  return true;
}

}  // namespace corvane
