// The built program driven through its options: exit codes, the frame
// count, the dump, closing the window, and the start-up star field.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/corvane_run.h"

namespace {

TEST(Program, HelpVersionAndBadOptions) {
  CorvaneRunOptions options;
  options.extraArgs = {"--help"};
  CorvaneRun help = RunCorvane(options);
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--data", "--headless", "--script", "--frames", "--dump", "--dump-file",
                             "--capture", "--capture-dir", "--sound-trace"})
    EXPECT_NE(help.stdoutText.find(option), std::string::npos) << option;
  options.extraArgs = {"--version"};
  EXPECT_EQ(RunCorvane(options).exitCode, 0);
  options.extraArgs = {"--turbo"};
  CorvaneRun bad = RunCorvane(options);
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.stderrText.find("--turbo"), std::string::npos);
  options.extraArgs = {"--frames"};
  EXPECT_EQ(RunCorvane(options).exitCode, 2);
  options.extraArgs = {};
  options.dataDir = "/nonexistent-corvane-data";
  EXPECT_EQ(RunCorvane(options).exitCode, 2);
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

TEST(Program, StarFieldIsTheSameOnEveryRun) {
  CorvaneRunOptions options;
  options.frames = 1;
  options.dumpFrames = "0";
  CorvaneRun first = RunCorvane(options), second = RunCorvane(options);
  ASSERT_EQ(first.dump.size(), 1u) << first.stderrText;
  ASSERT_EQ(second.dump.size(), 1u) << second.stderrText;
  const JsonValue& a = first.dump[0]["stars"];
  const JsonValue& b = second.dump[0]["stars"];
  ASSERT_EQ(a.items.size(), 20u);
  for (size_t i = 0; i < 20; ++i)
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(a[i]["pos"][k].number, b[i]["pos"][k].number) << "star " << i;
      EXPECT_EQ(a[i]["color"][k == 0 ? "r" : k == 1 ? "g" : "b"].number,
                b[i]["color"][k == 0 ? "r" : k == 1 ? "g" : "b"].number);
    }
  // The first six values of the sequence: 41 18467 6334 26500 19169 15724,
  // taken as z, y, x, blue, green, red.
  EXPECT_EQ(a[0]["pos"][2].number, 41 % 200 - 60);
  EXPECT_EQ(a[0]["pos"][1].number, 18467 % 260 - 130);
  EXPECT_EQ(a[0]["pos"][0].number, 6334 % 260 - 130);
  EXPECT_EQ(a[0]["color"]["b"].number, 26500 % 255);
  EXPECT_EQ(a[0]["color"]["g"].number, 19169 % 255);
  EXPECT_EQ(a[0]["color"]["r"].number, 15724 % 255);
}

}  // namespace
