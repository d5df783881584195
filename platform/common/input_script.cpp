#include "common/input_script.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <sstream>

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
    int found = -1;
    for (int i = 0; i < SCRIPT_KEY_COUNT; ++i)
      if (token == KEY_TOKENS[i]) found = i;
    if (found < 0) {
      reason = "unknown key '" + token + "' (keys: up down left right enter esc d alt f11 f12, and close)";
      return false;
    }
    line.keys.push_back(SCRIPT_KEYS[found]);
  }
  return true;
}

}  // namespace

const ScriptLine* InputScript::LineAt(int frame) const {
  const ScriptLine* inForce = nullptr;
  for (const auto& line : lines) {
    if (line.frame > frame) break;
    inForce = &line;
  }
  return inForce;
}

const ScriptLine* InputScript::LineStartingAt(int frame) const {
  for (const auto& line : lines)
    if (line.frame == frame) return &line;
  return nullptr;
}

bool ParseInputScript(const std::string& text, InputScript& out, std::string& error) {
  out.lines.clear();
  std::istringstream input(text);
  std::string raw;
  int lineNumber = 0;
  while (std::getline(input, raw)) {
    ++lineNumber;
    size_t hash = raw.find('#');
    if (hash != std::string::npos) raw.erase(hash);
    if (raw.find_first_not_of(" \t\r") == std::string::npos) continue;
    ScriptLine line;
    std::string reason;
    if (!ParseLine(raw, line, reason)) {
      error = "line " + std::to_string(lineNumber) + ": " + reason;
      return false;
    }
    if (!out.lines.empty() && line.frame <= out.lines.back().frame) {
      error = "line " + std::to_string(lineNumber) + ": frame " + std::to_string(line.frame) +
              " does not come after frame " + std::to_string(out.lines.back().frame);
      return false;
    }
    out.lines.push_back(line);
  }
  return true;
}

}  // namespace corvane
