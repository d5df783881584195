#include "common/player_settings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/command_line.h"
#include "internal/automation.h"

namespace corvane {
namespace {

constexpr int VOLUME_STEP = 10;

// Every slot that plays a looping track is music; everything else an effect.
const char* const MUSIC_SLOTS[] = {"SND_LOOP_60", "SND_LOOP_56", "SND_BE03",  "SND_BE05",
                                   "SND_BE08",    "SND_LOOP_47", "SND_BE08_B", "SND_LOOP_46"};

std::string path;
Settings fileSettings;  // what the file holds (no command-line overrides)
Settings runSettings;
bool writable = false;
bool damaged = false;  // the file on disk is a damaged one still to be kept
bool muted = false;
void (*levelListener)() = nullptr;

bool IsMusic(const void* soundObject) {
  const char* name = SoundObjectName(soundObject);
  if (!name) return false;
  for (const char* music : MUSIC_SLOTS)
    if (std::strcmp(name, music) == 0) return true;
  return false;
}

// A damaged file is set aside before anything replaces it.
void WriteBack() {
  if (!writable) return;
  std::string error;
  if (damaged) {
    std::string aside = SetSettingsFileAside(path, error);
    if (aside.empty()) {
      std::fprintf(stderr, "corvane: the damaged settings file '%s' cannot be set aside (%s); not writing it\n",
                   path.c_str(), error.c_str());
      writable = false;
      return;
    }
    std::fprintf(stderr, "corvane: the damaged settings file is kept as %s\n", aside.c_str());
    damaged = false;
  }
  if (!WriteSettingsFile(path, fileSettings, error)) {
    std::fprintf(stderr, "corvane: cannot write the settings file '%s': %s\n", path.c_str(), error.c_str());
    writable = false;
  }
}

void StepVolume(int& level, int& fileLevel, int step) {
  level = std::max(0, std::min(MAX_VOLUME, level + step));
  fileLevel = level;
}

}  // namespace

void StartPlayerSettings(const CommandLine& options) {
  path = SettingsFilePath();
  writable = !path.empty() && !options.headless && options.scriptFile.empty() && !options.scriptFromStdin;
  std::string error;
  SettingsRead read = path.empty() ? SettingsRead::Missing : ReadSettingsFile(path, fileSettings, error);
  if (read == SettingsRead::Damaged) {
    damaged = true;
    std::fprintf(stderr, "corvane: the settings file '%s' is damaged (%s); using the defaults\n", path.c_str(),
                 error.c_str());
  } else if (read == SettingsRead::Missing) {
    WriteBack();
  }
  runSettings = fileSettings;
  if (options.displayModeGiven) runSettings.fullscreen = options.fullscreen;
  if (options.scale > 0) runSettings.scale = options.scale;
}

const Settings& RunSettings() { return runSettings; }

float PlayerSoundGain(const void* soundObject) {
  if (muted) return 0.0f;
  int level = IsMusic(soundObject) ? runSettings.musicVolume : runSettings.effectsVolume;
  return (float)level / MAX_VOLUME;
}

void SetSoundLevelListener(void (*changed)()) { levelListener = changed; }

std::string ApplyComfort(int key) {
  std::string note;
  switch (key) {
    case KEY_MUTE: muted = !muted; break;
    case KEY_MUSIC_DOWN: case KEY_MUSIC_UP:
      StepVolume(runSettings.musicVolume, fileSettings.musicVolume, key == KEY_MUSIC_UP ? VOLUME_STEP : -VOLUME_STEP);
      break;
    case KEY_EFFECTS_DOWN: case KEY_EFFECTS_UP:
      StepVolume(runSettings.effectsVolume, fileSettings.effectsVolume,
                 key == KEY_EFFECTS_UP ? VOLUME_STEP : -VOLUME_STEP);
      break;
    default: return "";
  }
  if (key != KEY_MUTE) WriteBack();
  if (levelListener) levelListener();
  if (muted) return "MUTED";
  if (key == KEY_MUTE) return "SOUND ON";
  bool music = key == KEY_MUSIC_DOWN || key == KEY_MUSIC_UP;
  return std::string(music ? "MUSIC " : "EFFECTS ") + std::to_string(music ? runSettings.musicVolume
                                                                            : runSettings.effectsVolume);
}

void NoteFullscreen(bool fullscreen) {
  runSettings.fullscreen = fullscreen;
  if (fileSettings.fullscreen == fullscreen) return;
  fileSettings.fullscreen = fullscreen;
  WriteBack();
}

void UseSettingsForTest(const Settings& settings) {
  path.clear();
  writable = false;
  muted = false;
  fileSettings = runSettings = settings;
  if (levelListener) levelListener();
}

}  // namespace corvane
