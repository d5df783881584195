#include "common/settings_file.h"

#include <windows.h>

#include <SDL.h>
#include <ini.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace corvane {
namespace {

const char* const KEY_NAMES[SETTINGS_KEY_COUNT] = {"up",   "down",       "left",     "right",
                                                   "enter", "esc",       "dash",     "mute",
                                                   "music_down", "music_up", "effects_down", "effects_up"};
const SDL_Scancode DEFAULT_KEYS[SETTINGS_KEY_COUNT] = {
    SDL_SCANCODE_UP,     SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT,
    SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_D,  SDL_SCANCODE_M,
    SDL_SCANCODE_F5,     SDL_SCANCODE_F6,   SDL_SCANCODE_F7,   SDL_SCANCODE_F8};

struct ReadState {
  Settings* settings;
  std::FILE* file;
  int line;           // the line inih has just been given
  std::string error;  // the first problem, "line N: ..."
};

// inih's line reader, counting lines so that problems can say where.
char* ReadLine(char* text, int size, void* user) {
  auto* state = static_cast<ReadState*>(user);
  char* got = std::fgets(text, size, state->file);
  if (got) ++state->line;
  return got;
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ParseWhole(const std::string& text, int low, int high, int& out) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  int value = std::atoi(text.c_str());
  if (value < low || value > high) return false;
  out = value;
  return true;
}

bool ParseYesNo(const std::string& text, bool& out) {
  if (text == "yes" || text == "no") {
    out = text == "yes";
    return true;
  }
  return false;
}

int KeyIndex(const std::string& name) {
  for (int k = 0; k < SETTINGS_KEY_COUNT; ++k)
    if (name == KEY_NAMES[k]) return k;
  return -1;
}

bool ParseButtons(const std::string& text, std::vector<int>& out) {
  std::istringstream words(text);
  std::vector<int> buttons;
  std::string word;
  while (words >> word) {
    SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(word.c_str());
    if (button == SDL_CONTROLLER_BUTTON_INVALID) return false;
    buttons.push_back(button);
  }
  out = buttons;
  return true;
}

// One entry; a message for anything unknown or out of range.
std::string ReadEntry(Settings& s, const std::string& section, const std::string& name, const std::string& value) {
  int key = KeyIndex(name);
  if (section == "sound" && (name == "music" || name == "effects")) {
    if (ParseWhole(value, 0, MAX_VOLUME, name == "music" ? s.musicVolume : s.effectsVolume)) return "";
    return name + " must be a whole number from 0 to 100, not '" + value + "'";
  }
  if (section == "display" && name == "fullscreen") {
    if (ParseYesNo(value, s.fullscreen)) return "";
    return "fullscreen must be yes or no, not '" + value + "'";
  }
  if (section == "display" && name == "scale") {
    if (ParseWhole(value, 0, 8, s.scale)) return "";
    return "scale must be a whole number from 0 to 8, not '" + value + "'";
  }
  if (section == "keys" && key >= 0) {
    SDL_Scancode code = SDL_GetScancodeFromName(value.c_str());
    if (code != SDL_SCANCODE_UNKNOWN) {
      s.keys[key] = code;
      return "";
    }
    return "no key is called '" + value + "'";
  }
  if (section == "controller" && key >= 0 && key < GAME_ACTION_COUNT) {
    if (ParseButtons(value, s.buttons[key])) return "";
    return "'" + value + "' names a button no controller has";
  }
  return "unknown setting '" + name + "' in [" + section + "]";
}

int OnEntry(void* user, const char* section, const char* name, const char* value) {
  auto* state = static_cast<ReadState*>(user);
  std::string problem = ReadEntry(*state->settings, section, name, Trimmed(value));
  if (!problem.empty() && state->error.empty()) state->error = "line " + std::to_string(state->line) + ": " + problem;
  return problem.empty() ? 1 : 0;
}

// One key for two things would make one of them unreachable.
std::string FindSharedKey(const Settings& s) {
  for (int a = 0; a < SETTINGS_KEY_COUNT; ++a)
    for (int b = a + 1; b < SETTINGS_KEY_COUNT; ++b)
      if (s.keys[a] == s.keys[b])
        return std::string("the key '") + SDL_GetScancodeName((SDL_Scancode)s.keys[a]) + "' is given to both " +
               KEY_NAMES[a] + " and " + KEY_NAMES[b];
  return "";
}

std::string ButtonList(const std::vector<int>& buttons) {
  std::string text;
  for (int b : buttons) {
    if (!text.empty()) text += ' ';
    text += SDL_GameControllerGetStringForButton((SDL_GameControllerButton)b);
  }
  return text;
}

}  // namespace

Settings::Settings() {
  for (int k = 0; k < SETTINGS_KEY_COUNT; ++k) keys[k] = DEFAULT_KEYS[k];
  buttons[KEY_UP] = {SDL_CONTROLLER_BUTTON_DPAD_UP};
  buttons[KEY_DOWN] = {SDL_CONTROLLER_BUTTON_DPAD_DOWN};
  buttons[KEY_LEFT] = {SDL_CONTROLLER_BUTTON_DPAD_LEFT};
  buttons[KEY_RIGHT] = {SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
  buttons[KEY_ENTER] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_START};
  buttons[KEY_ESC] = {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_BACK};
  buttons[KEY_DASH] = {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                       SDL_CONTROLLER_BUTTON_RIGHTSHOULDER};
}

const char* SettingsKeyName(int key) { return key >= 0 && key < SETTINGS_KEY_COUNT ? KEY_NAMES[key] : ""; }

int ActionVirtualKey(int action) {
  static const int VKS[GAME_ACTION_COUNT] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE, 'D'};
  return action >= 0 && action < GAME_ACTION_COUNT ? VKS[action] : 0;
}

SettingsRead ReadSettingsFile(const std::string& path, Settings& out, std::string& error) {
  out = Settings{};
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (!file) {
    if (errno == ENOENT) return SettingsRead::Missing;
    error = std::strerror(errno);
    return SettingsRead::Damaged;
  }
  Settings read;
  ReadState state{&read, file, 0, ""};
  int result = ini_parse_stream(ReadLine, &state, OnEntry, &state);
  std::fclose(file);
  if (result != 0 && state.error.empty())
    state.error = result > 0 ? "line " + std::to_string(result) + ": not a [section] or name = value line"
                             : "cannot be read";
  if (state.error.empty()) state.error = FindSharedKey(read);
  if (!state.error.empty()) {
    error = state.error;
    return SettingsRead::Damaged;
  }
  out = read;
  return SettingsRead::Loaded;
}

std::string FormatSettings(const Settings& s) {
  std::ostringstream text;
  text << "# Corvane's settings. Lines starting with # are comments; the game rewrites this\n"
          "# file when a setting changes in play. Delete it to get the defaults back.\n"
          "\n[sound]\n"
          "# 0 (silent) to 100 (as loud as the game makes it)\n"
       << "music = " << s.musicVolume << "\neffects = " << s.effectsVolume << "\n"
       << "\n[display]\n"
          "# yes: desktop fullscreen; no: a window (--fullscreen and --windowed override it)\n"
       << "fullscreen = " << (s.fullscreen ? "yes" : "no") << "\n"
       << "# the window is N times 800 x 600 (1 to 8); 0: the largest that fits the screen\n"
       << "scale = " << s.scale << "\n"
       << "\n[keys]\n"
          "# one key each, as SDL names it: Up, Down, Left, Right, Return, Escape, Space, A to Z,\n"
          "# F1 to F12 ... The last five are the comforts: mute, music and effects volume steps.\n";
  for (int k = 0; k < SETTINGS_KEY_COUNT; ++k)
    text << KEY_NAMES[k] << " = " << SDL_GetScancodeName((SDL_Scancode)s.keys[k]) << "\n";
  text << "\n[controller]\n"
          "# buttons, space-separated: a b x y back start guide leftstick rightstick leftshoulder\n"
          "# rightshoulder dpup dpdown dpleft dpright; the left stick always steers\n";
  for (int a = 0; a < GAME_ACTION_COUNT; ++a) text << KEY_NAMES[a] << " = " << ButtonList(s.buttons[a]) << "\n";
  return text.str();
}

bool WriteSettingsFile(const std::string& path, const Settings& settings, std::string& error) {
  std::error_code failure;
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos) std::filesystem::create_directories(path.substr(0, slash), failure);
  if (failure) {
    error = failure.message();
    return false;
  }
  std::string temporary = path + ".new";
  std::FILE* file = std::fopen(temporary.c_str(), "w");
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  std::string text = FormatSettings(settings);
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = (std::fflush(file) == 0) && written && fsync(fileno(file)) == 0;
  if (std::fclose(file) != 0) written = false;
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::string SetSettingsFileAside(const std::string& path, std::string& error) {
  std::string aside = path + ".damaged";
  for (int n = 2; n < 1000; ++n) {
    // A hard link is never made over an existing name.
    if (link(path.c_str(), aside.c_str()) == 0) {
      unlink(path.c_str());
      return aside;
    }
    if (errno != EEXIST) break;
    aside = path + ".damaged." + std::to_string(n);
  }
  error = std::strerror(errno);
  return "";
}

std::string SettingsFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/corvane/settings.ini";
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config/corvane/settings.ini";
  return "";
}

}  // namespace corvane
