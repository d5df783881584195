// The settings file in whole runs: sound levels leave the game's sound calls
// alone, a rebound key steers, a damaged file is reported and kept, and a
// scripted comfort key leaves its note where captures ask for it.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "common/note_layout.h"
#include "game/world_state.h"
#include "support/corvane_run.h"

namespace {

// A config folder holding `text` as the settings file (none when empty).
std::string ConfigHome(const std::string& text) {
  std::string home = MakeScratchDir("config");
  if (!text.empty()) {
    std::filesystem::create_directories(home + "/corvane");
    WriteText(home + "/corvane/settings.ini", text);
  }
  return home;
}

// Objects made before the game names them are traced by address.
std::vector<std::string> Unaddressed(const std::vector<TraceLine>& trace) {
  std::vector<std::string> out;
  for (const TraceLine& l : trace) {
    const std::string line = std::to_string(l.frame) + " " + l.slot + " " + l.method + " " + l.args;
    out.push_back(std::regex_replace(line, std::regex("0x[0-9a-f]+ "), "OBJECT "));
  }
  return out;
}

// Into flight, then the keyboard's A held from frame 380.
CorvaneRun Fly(const std::string& home) {
  CorvaneRunOptions options;
  options.script = "0:\n60: enter\n62:\n140: enter\n142:\n380: key:a\n";
  options.frames = 400;
  options.dumpFrames = "379,399";
  options.soundTrace = true;
  options.environment = {"XDG_CONFIG_HOME=" + home};
  return RunCorvane(options);
}

TEST(SettingsRun, LevelsKeepTheSoundCallsAndAReboundKeySteers) {
  CorvaneRun rebound = Fly(ConfigHome("[keys]\nleft = A\n"));
  CorvaneRun silent = Fly(ConfigHome("[sound]\nmusic = 0\neffects = 0\n[keys]\nleft = A\n"));
  for (const CorvaneRun* run : {&rebound, &silent}) {
    ASSERT_EQ(run->exitCode, 0) << run->stderrText;
    ASSERT_EQ(run->dump.size(), 2u);
    ASSERT_EQ(run->dump[0]["scene"].number, SCENE_GAME);
    ASSERT_EQ(run->dump[0]["Round"]["phase"].number, PHASE_FLYING);
    EXPECT_EQ(run->dump[0]["Player"]["velX"].number, 0.0);
    EXPECT_LT(run->dump[1]["Player"]["velX"].number, -0.1);  // A steers left
  }
  ASSERT_GT(rebound.trace.size(), 100u);
  EXPECT_EQ(Unaddressed(silent.trace), Unaddressed(rebound.trace));
}

TEST(SettingsRun, ADamagedFileIsReportedKeptAndTheDefaultsUsed) {
  const std::string damaged = "[keys]\nleft = A\nright = A\n";
  std::string home = ConfigHome(damaged);
  CorvaneRunOptions options;
  options.script = "0: key:a\n";
  options.frames = 3;
  options.environment = {"XDG_CONFIG_HOME=" + home};
  CorvaneRun run = RunCorvane(options);
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_NE(run.stderrText.find("settings file '" + home + "/corvane/settings.ini' is damaged (the key 'A' is given to both left and right)"),
            std::string::npos)
      << run.stderrText;
  EXPECT_EQ(ReadText(home + "/corvane/settings.ini"), damaged);
}

// M pressed by the script at frame 10 mutes, and its note shows for a second
// of the virtual clock: in captures with --capture-note, never without.
TEST(SettingsRun, AScriptedMuteShowsItsNoteOnlyInCapturesThatAskForIt) {
  std::vector<unsigned char> pictures[2][2];  // [with the note][frame 20, frame 75]
  for (bool note : {false, true}) {
    CorvaneRunOptions options;
    options.script = "0:\n10: key:m\n12:\n";
    options.frames = 80;
    options.captureFrames = "20,75";
    options.environment = {"XDG_CONFIG_HOME=" + ConfigHome("")};
    if (note) options.extraArgs = {"--capture-note"};
    CorvaneRun run = RunCorvane(options);
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    for (int i = 0; i < 2; ++i) {
      int w = 0, h = 0;
      ASSERT_TRUE(ReadPng(CapturePath(run, i == 0 ? 20 : 75), w, h, pictures[note][i]));
      ASSERT_TRUE(w == 800 && h == 600);
    }
  }
  std::vector<unsigned char> muted = pictures[false][0];
  corvane::PaintNote("MUTED", muted.data(), 800, 600);
  EXPECT_NE(muted, pictures[false][0]);
  EXPECT_TRUE(pictures[true][0] == muted);
  EXPECT_TRUE(pictures[true][1] == pictures[false][1]);  // its second is over
}

}  // namespace
