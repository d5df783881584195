#include "common/settings_file.h"

#include <windows.h>
#include <shlobj.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "common/ini_reader.h"
#include "common/key_names.h"

namespace corvane {
namespace {

const char* const KEY_NAMES[SETTINGS_KEY_COUNT] = {"up",   "down",       "left",     "right",
                                                   "enter", "esc",       "dash",     "mute",
                                                   "music_down", "music_up", "effects_down", "effects_up"};
const char* const DEFAULT_KEYS[SETTINGS_KEY_COUNT] = {"Up", "Down", "Left", "Right", "Return", "Escape",
                                                      "D",  "M",    "F5",   "F6",    "F7",     "F8"};
// In the order of ControllerButton (which is SDL's).
const char* const BUTTON_NAMES[CONTROLLER_BUTTON_COUNT] = {
    "a", "b", "x", "y", "back", "guide", "start", "leftstick", "rightstick", "leftshoulder", "rightshoulder",
    "dpup", "dpdown", "dpleft", "dpright"};
constexpr int MAX_SCALE = 8;

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
    int found = -1;
    for (int b = 0; b < CONTROLLER_BUTTON_COUNT; ++b)
      if (word == BUTTON_NAMES[b]) found = b;
    if (found < 0) return false;
    buttons.push_back(found);
  }
  out = buttons;
  return true;
}

// One entry; a message for anything unknown or out of range.
std::string ReadEntry(Settings& s, const std::string& section, const std::string& name, const std::string& value) {
  int key = KeyIndex(name);
  if (section == "sound" && (name == "music" || name == "effects")) {
    if (ParseWhole(value, 0, MAX_VOLUME, name == "music" ? s.musicVolume : s.effectsVolume)) return "";
    return name + " must be a whole number from 0 to " + std::to_string(MAX_VOLUME) + ", not '" + value + "'";
  }
  if (section == "display" && name == "fullscreen") {
    if (ParseYesNo(value, s.fullscreen)) return "";
    return "fullscreen must be yes or no, not '" + value + "'";
  }
  if (section == "display" && name == "scale") {
    if (ParseWhole(value, 0, MAX_SCALE, s.scale)) return "";
    return "scale must be a whole number from 0 to " + std::to_string(MAX_SCALE) + ", not '" + value + "'";
  }
  if (section == "keys" && key >= 0) {
    int code = KeyCodeFromName(value);
    if (code != 0) {
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

// One key for two things would make one of them unreachable.
std::string FindSharedKey(const Settings& s) {
  for (int a = 0; a < SETTINGS_KEY_COUNT; ++a)
    for (int b = a + 1; b < SETTINGS_KEY_COUNT; ++b)
      if (s.keys[a] == s.keys[b])
        return "the key '" + KeyCodeName(s.keys[a]) + "' is given to both " + KEY_NAMES[a] + " and " + KEY_NAMES[b];
  return "";
}

std::string ButtonList(const std::vector<int>& buttons) {
  std::string text;
  for (int b : buttons) {
    if (!text.empty()) text += ' ';
    text += BUTTON_NAMES[b];
  }
  return text;
}

// Everything written reaches the disk before the file replaces the old one.
bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

bool ReplaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

// Gives the file a new name that no other file has; false (errno EEXIST)
// when one has it.
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (MoveFileExA(from.c_str(), to.c_str(), 0)) return true;
  errno = GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS ? EEXIST : EACCES;
  return false;
#else
  // A hard link is never made over an existing name.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
#endif
}

}  // namespace

Settings::Settings() {
  for (int k = 0; k < SETTINGS_KEY_COUNT; ++k) keys[k] = KeyCodeFromName(DEFAULT_KEYS[k]);
  buttons[KEY_UP] = {BUTTON_DPAD_UP};
  buttons[KEY_DOWN] = {BUTTON_DPAD_DOWN};
  buttons[KEY_LEFT] = {BUTTON_DPAD_LEFT};
  buttons[KEY_RIGHT] = {BUTTON_DPAD_RIGHT};
  buttons[KEY_ENTER] = {BUTTON_A, BUTTON_START};
  buttons[KEY_ESC] = {BUTTON_B, BUTTON_BACK};
  buttons[KEY_DASH] = {BUTTON_X, BUTTON_Y, BUTTON_LEFT_SHOULDER, BUTTON_RIGHT_SHOULDER};
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
  std::fclose(file);
  Settings read;
  IniEntry entry = [&read](const std::string& section, const std::string& name, const std::string& value) {
    return ReadEntry(read, section, name, value);
  };
  if (!ReadIniFile(path, entry, error)) return SettingsRead::Damaged;
  error = FindSharedKey(read);
  if (!error.empty()) return SettingsRead::Damaged;
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
  for (int k = 0; k < SETTINGS_KEY_COUNT; ++k) text << KEY_NAMES[k] << " = " << KeyCodeName(s.keys[k]) << "\n";
  text << "\n[controller]\n"
          "# buttons, space-separated (the left stick always steers), from\n#";
  for (const char* button : BUTTON_NAMES) text << " " << button;
  text << "\n";
  for (int a = 0; a < GAME_ACTION_COUNT; ++a) text << KEY_NAMES[a] << " = " << ButtonList(s.buttons[a]) << "\n";
  return text.str();
}

bool WriteSettingsFile(const std::string& path, const Settings& settings, std::string& error) {
  std::error_code failure;
  const size_t slash = path.find_last_of("/\\");
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
  written = FlushToDisk(file) && written;
  if (std::fclose(file) != 0) written = false;
  if (!written || !ReplaceFile(temporary, path)) {
    error = std::strerror(errno ? errno : EIO);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::string SetSettingsFileAside(const std::string& path, std::string& error) {
  std::string aside = path + ".damaged";
  for (int n = 2; n < 1000; ++n) {
    if (RenameWithoutReplacing(path, aside)) return aside;
    if (errno != EEXIST) break;
    aside = path + ".damaged." + std::to_string(n);
  }
  error = std::strerror(errno);
  return "";
}

// Linux: $XDG_CONFIG_HOME/corvane, else ~/.config/corvane. Windows: the
// roaming application data folder, %APPDATA%\Corvane.
std::string SettingsFilePath() {
#ifdef _WIN32
  char appData[MAX_PATH];
  if (FAILED(SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, appData))) return "";
  return std::string(appData) + "\\Corvane\\settings.ini";
#else
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/corvane/settings.ini";
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config/corvane/settings.ini";
  return "";
#endif
}

}  // namespace corvane
