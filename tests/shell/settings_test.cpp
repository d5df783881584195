// The player's settings file (read, damaged, written back without losing a
// damaged copy) and the keys and buttons it binds.
#include <gtest/gtest.h>

#include <windows.h>

#include <SDL.h>

#include <cstdlib>
#include <fstream>

#include "common/command_line.h"
#include "common/player_settings.h"
#include "common/settings_file.h"
#include "support/corvane_run.h"
#include "common/key_bindings.h"

namespace {

using corvane::Settings;
using corvane::SettingsRead;

SettingsRead ReadSettingsText(const std::string& text, Settings& out, std::string& error) {
  std::string path = MakeScratchDir("settings") + "/settings.ini";
  WriteText(path, text);
  return corvane::ReadSettingsFile(path, out, error);
}

TEST(SettingsFile, WrittenFileReadsBackAndPartialFilesKeepTheRest) {
  Settings s;
  s.musicVolume = 0;
  s.effectsVolume = 35;
  s.fullscreen = true;
  s.scale = 2;
  s.keys[corvane::KEY_LEFT] = SDL_SCANCODE_A;
  s.buttons[corvane::KEY_DASH] = {SDL_CONTROLLER_BUTTON_GUIDE};
  std::string path = MakeScratchDir("settings") + "/deeper/settings.ini";
  std::string error;
  ASSERT_TRUE(corvane::WriteSettingsFile(path, s, error)) << error;
  Settings back;
  ASSERT_EQ(corvane::ReadSettingsFile(path, back, error), SettingsRead::Loaded) << error;
  EXPECT_EQ(corvane::FormatSettings(back), corvane::FormatSettings(s));
  EXPECT_EQ(back.keys[corvane::KEY_LEFT], SDL_SCANCODE_A);
  EXPECT_EQ(back.musicVolume, 0);
  // A file where a folder has to be made is a failure with its reason.
  EXPECT_FALSE(corvane::WriteSettingsFile(path + "/settings.ini", s, error));
  EXPECT_EQ(error, "Not a directory");

  ASSERT_EQ(ReadSettingsText("# only one\n[sound]\neffects = 7\n", back, error), SettingsRead::Loaded) << error;
  EXPECT_EQ(back.effectsVolume, 7);
  EXPECT_EQ(back.musicVolume, 100);
  EXPECT_EQ(back.keys[corvane::KEY_ENTER], SDL_SCANCODE_RETURN);
  EXPECT_EQ(corvane::ReadSettingsFile(path + ".absent", back, error), SettingsRead::Missing);
}

TEST(SettingsFile, DamageIsNamedByLineAndGivesTheDefaults) {
  const std::pair<const char*, const char*> cases[] = {
      {"[sound]\nmusic = 101\n", "line 2: music must be"},
      {"[sound]\n\nmusic = loud\n", "line 3"},
      {"[display]\nfullscreen = maybe\n", "fullscreen must be yes or no"},
      {"[keys]\nleft = NoSuchKey\n", "no key is called 'NoSuchKey'"},
      {"[keys]\nup = Left\n", "given to both up and left"},
      {"[controller]\nenter = a trigger\n", "names a button"},
      {"[sound]\nvolume = 3\n", "unknown setting 'volume'"},
      {"\x7f\x45LF\x01\x02\n", "line 1"},
  };
  for (const auto& c : cases) {
    Settings out;
    out.musicVolume = 3;
    std::string error;
    EXPECT_EQ(ReadSettingsText(c.first, out, error), SettingsRead::Damaged) << c.first;
    EXPECT_NE(error.find(c.second), std::string::npos) << c.first << " -> " << error;
    EXPECT_EQ(corvane::FormatSettings(out), corvane::FormatSettings(Settings{})) << c.first;
  }
}

TEST(PlayerSettings, FirstRunWritesDefaultsAndADamagedFileIsSetAsideBeforeAChange) {
  std::string home = MakeScratchDir("config");
  std::string path = home + "/corvane/settings.ini";
  setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  corvane::CommandLine player;  // no automation: the file may be written
  corvane::StartPlayerSettings(player);
  EXPECT_EQ(ReadText(path), corvane::FormatSettings(Settings{}));

  const std::string damaged = "[sound]\nmusic = eleven\n";
  std::ofstream(path) << damaged;
  std::ofstream(path + ".damaged") << "an older one";
  corvane::StartPlayerSettings(player);
  EXPECT_EQ(ReadText(path), damaged);  // kept while nothing changes
  EXPECT_EQ(corvane::ApplyComfort(corvane::KEY_MUSIC_DOWN), "MUSIC 90");
  EXPECT_EQ(ReadText(path + ".damaged"), "an older one");
  EXPECT_EQ(ReadText(path + ".damaged.2"), damaged);
  Settings written;
  std::string error;
  ASSERT_EQ(corvane::ReadSettingsFile(path, written, error), SettingsRead::Loaded) << error;
  EXPECT_EQ(written.musicVolume, 90);

  // Automated runs and command-line overrides never reach the file.
  corvane::CommandLine scripted;
  scripted.scriptFile = "keys.script";
  scripted.fullscreen = scripted.displayModeGiven = true;
  scripted.scale = 3;
  corvane::StartPlayerSettings(scripted);
  EXPECT_TRUE(corvane::RunSettings().fullscreen);
  EXPECT_EQ(corvane::RunSettings().scale, 3);
  EXPECT_EQ(corvane::ApplyComfort(corvane::KEY_EFFECTS_UP), "EFFECTS 100");
  EXPECT_EQ(corvane::ApplyComfort(corvane::KEY_MUTE), "MUTED");
  EXPECT_EQ(corvane::PlayerSoundGain(nullptr), 0.0f);
  EXPECT_EQ(corvane::ApplyComfort(corvane::KEY_MUTE), "SOUND ON");
  ASSERT_EQ(corvane::ReadSettingsFile(path, written, error), SettingsRead::Loaded) << error;
  EXPECT_EQ(corvane::FormatSettings(written).find("fullscreen = yes"), std::string::npos);
  corvane::UseSettingsForTest(Settings{});
}

TEST(KeyBindings, AReboundActionLeavesItsUsualKeySilent) {
  Settings s;
  s.keys[corvane::KEY_LEFT] = SDL_SCANCODE_A;
  s.keys[corvane::KEY_MUTE] = SDL_SCANCODE_Q;
  s.buttons[corvane::KEY_ENTER] = {SDL_CONTROLLER_BUTTON_Y};
  s.buttons[corvane::KEY_DASH] = {SDL_CONTROLLER_BUTTON_X};
  corvane::SetKeyBindings(s);
  EXPECT_EQ(corvane::GameKeyFromKeyCode(SDL_SCANCODE_A), VK_LEFT);
  EXPECT_EQ(corvane::GameKeyFromKeyCode(SDL_SCANCODE_LEFT), 0);
  EXPECT_EQ(corvane::GameKeyFromKeyCode(SDL_SCANCODE_RIGHT), VK_RIGHT);
  EXPECT_EQ(corvane::GameKeyFromKeyCode(SDL_SCANCODE_KP_ENTER), VK_RETURN);  // Enter keeps both its keys
  EXPECT_EQ(corvane::ComfortFromKeyCode(SDL_SCANCODE_Q), corvane::KEY_MUTE);
  EXPECT_EQ(corvane::ComfortFromKeyCode(SDL_SCANCODE_M), -1);
  EXPECT_EQ(corvane::GameKeyFromControllerButton(SDL_CONTROLLER_BUTTON_Y), VK_RETURN);
  EXPECT_EQ(corvane::GameKeyFromControllerButton(SDL_CONTROLLER_BUTTON_A), 0);
  corvane::SetKeyBindings(Settings{});
  EXPECT_EQ(corvane::GameKeyFromKeyCode(SDL_SCANCODE_LEFT), VK_LEFT);
  EXPECT_EQ(corvane::GameKeyFromControllerButton(SDL_CONTROLLER_BUTTON_A), VK_RETURN);
}

}  // namespace
