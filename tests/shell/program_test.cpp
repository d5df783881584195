// The built program driven through its options: exit codes, the frame
// count, the dump with the start-up star field, and closing the window.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <tuple>

#include "support/corvane_run.h"

namespace {

TEST(Program, HelpVersionAndBadOptions) {
  // Help and version print and exit 0; a mistake names itself and exits 2.
  for (auto [args, exitCode, said] :
       {std::tuple{std::vector<std::string>{"--help"}, 0, "--sound-trace FILE"}, {{"--version"}, 0, "corvane "},
        {{"--turbo"}, 2, "--turbo"}, {{"--frames"}, 2, "--frames"}, {{"--data", "/nonexistent"}, 2, "/nonexistent"}}) {
    CorvaneRunOptions options;
    options.extraArgs = args;
    CorvaneRun run = RunCorvane(options);
    EXPECT_EQ(run.exitCode, exitCode) << args[0];
    EXPECT_NE((run.stdoutText + run.stderrText).find(said), std::string::npos) << run.stdoutText << run.stderrText;
  }
}

TEST(Program, FramesOptionEndsThroughShutdownAndDumpsEveryFrame) {
  CorvaneRunOptions options;
  options.script = "0:\n";
  options.frames = 6;
  options.dumpFrames = "all";
  options.captureFrames = "0";
  CorvaneRun run = RunCorvane(options);
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  ASSERT_EQ(run.dump.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(run.dump[i]["frame"].number, i);
  const JsonValue& last = run.dump.back();
  for (const char* name : {"scene", "menuCursor", "titlePulseScale", "titlePulseAlpha", "selectCursor", "selectZoom",
                           "selectScale", "selectAlpha", "fadeActive", "fadeAlpha", "bestScores", "arrowKeyLatch",
                           "enterKeyLatch", "lastFrameTime", "Player", "Camera", "Round", "rocks", "Gate", "Item",
                           "Graze", "Screen", "Probe", "Particle", "stars", "DigitBuffer"})
    EXPECT_TRUE(last.Has(name)) << name;
  EXPECT_EQ(last["Player"]["world"].items.size(), 16u);
  EXPECT_EQ(last["Player"]["trailHistory"][2].items.size(), 10u);
  EXPECT_EQ(last["rocks"].items.size(), 30u);
  EXPECT_EQ(last["Particle"]["scale"].items.size(), 400u);
  // Start-up's first values; the ship sits at z = -60.
  EXPECT_EQ(last["Particle"]["scale"][399].number, 0.5);
  EXPECT_EQ(last["Player"]["radius"].number, 1.0);
  EXPECT_EQ(last["Player"]["world"][14].number, -60.0);
  // Floats are printed to read back to the same 32-bit value.
  EXPECT_EQ((float)last["selectScale"][3].number, 0.6f);
  // The star field draws the unseeded sequence (41 18467 6334 26500 19169
  // 15724 ...) as z, y, x, blue, green, red, so every run starts alike.
  const JsonValue& star = run.dump[0]["stars"][0];
  EXPECT_EQ(run.dump[0]["stars"].items.size(), 20u);
  EXPECT_EQ(star["pos"][2].number, 41 % 200 - 60);
  EXPECT_EQ(star["pos"][1].number, 18467 % 260 - 130);
  EXPECT_EQ(star["pos"][0].number, 6334 % 260 - 130);
  EXPECT_EQ(star["color"]["b"].number, 26500 % 255);
  EXPECT_EQ(star["color"]["g"].number, 19169 % 255);
  EXPECT_EQ(star["color"]["r"].number, 15724 % 255);
  // The virtual clock moves 1000/60 ms a pass, so each pass runs a frame.
  EXPECT_EQ(run.dump[0]["lastFrameTime"].number, 16);
  EXPECT_EQ(run.dump[5]["lastFrameTime"].number, 100);
  int w = 0, h = 0;
  std::vector<unsigned char> rgba;
  EXPECT_TRUE(ReadPng(CapturePath(run, 0), w, h, rgba));
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
}

TEST(Program, ClosingTheWindowEndsTheLoopWithExitCodeZeroAndSavesScores) {
  CorvaneRunOptions options;
  options.script = "0:\n3: close\n";
  options.dumpFrames = "all";
  CorvaneRun run = RunCorvane(options);
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  ASSERT_EQ(run.dump.size(), 3u) << "frame 3 never runs";
  EXPECT_EQ(run.dump.back()["frame"].number, 2);
  struct stat info;
  EXPECT_EQ(stat((run.dataDir + "/TEXT/ranking.txt").c_str(), &info), 0) << "shutdown wrote the best scores";
}

}  // namespace
