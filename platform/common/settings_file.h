// The player's settings file (settings.ini in the user's config folder):
// sound levels, window, and the keys and controller buttons of each action.
// Read with the system's INI reader; written whole, with comments, through a
// temporary file. The same file serves the Linux and the Windows build.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// The game's own actions (the keys it polls) and the player's comforts.
enum SettingsKey {
  KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_ENTER, KEY_ESC, KEY_DASH,  // the game's
  KEY_MUTE, KEY_MUSIC_DOWN, KEY_MUSIC_UP, KEY_EFFECTS_DOWN, KEY_EFFECTS_UP,
  SETTINGS_KEY_COUNT
};
constexpr int GAME_ACTION_COUNT = KEY_DASH + 1;

// Its name in the file ("up", "music_down" ...).
const char* SettingsKeyName(int key);
// The virtual key the game polls for a game action.
int ActionVirtualKey(int action);

// A game controller's buttons, in SDL's order (SDL_CONTROLLER_BUTTON_A ...).
enum ControllerButton {
  BUTTON_A, BUTTON_B, BUTTON_X, BUTTON_Y, BUTTON_BACK, BUTTON_GUIDE, BUTTON_START, BUTTON_LEFT_STICK,
  BUTTON_RIGHT_STICK, BUTTON_LEFT_SHOULDER, BUTTON_RIGHT_SHOULDER, BUTTON_DPAD_UP, BUTTON_DPAD_DOWN,
  BUTTON_DPAD_LEFT, BUTTON_DPAD_RIGHT, CONTROLLER_BUTTON_COUNT
};

// The left stick always steers, once it leaves the centre by this much (of 32767).
constexpr int STICK_DEAD_ZONE = 12000;

constexpr int MAX_VOLUME = 100;

struct Settings {
  int musicVolume = MAX_VOLUME;    // 0..100
  int effectsVolume = MAX_VOLUME;  // 0..100
  bool fullscreen = false;
  int scale = 0;                          // 0: the largest that fits
  int keys[SETTINGS_KEY_COUNT];           // key codes (key_names.h)
  std::vector<int> buttons[GAME_ACTION_COUNT];  // ControllerButton values
  Settings();
};

enum class SettingsRead { Loaded, Missing, Damaged };

// Reads `path` into `out` (entries the file lacks keep their defaults). On
// Damaged, `out` holds the defaults and `error` says where and why.
SettingsRead ReadSettingsFile(const std::string& path, Settings& out, std::string& error);

// The file's text for a set of settings, with the comments.
std::string FormatSettings(const Settings& settings);

// Writes the file whole (folder made if needed); false with a reason.
bool WriteSettingsFile(const std::string& path, const Settings& settings, std::string& error);

// Renames a damaged file to PATH.damaged (then .damaged.2 ...), never over
// another file. The new name, or empty with `error` set.
std::string SetSettingsFileAside(const std::string& path, std::string& error);

// $XDG_CONFIG_HOME/corvane/settings.ini, else ~/.config/...; on Windows
// %APPDATA%\Corvane\settings.ini. Empty when there is no such folder.
std::string SettingsFilePath();

}  // namespace corvane
