// The command line, the key-script format, the data-folder choice and the
// window size chosen for a screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <sys/stat.h>

#include "common/command_line.h"
#include "common/data_folder.h"
#include "common/input_script.h"
#include "support/files.h"
#include "win32/window_scale.h"

namespace {

using corvane::CommandLine;
using corvane::CommandLineResult;

CommandLineResult Parse(std::vector<const char*> args, CommandLine& out, std::string& error) {
  args.insert(args.begin(), "corvane");
  return corvane::ParseCommandLine((int)args.size(), args.data(), out, error);
}

TEST(CommandLine, EveryOptionWithItsValue) {
  CommandLine line;
  std::string error;
  ASSERT_EQ(Parse({"--data", "d", "--headless", "--script", "s.txt", "--frames", "120", "--dump", "0,5,10-12",
                   "--dump-file", "out.jsonl", "--capture", "all", "--capture-dir", "pics", "--sound-trace", "t",
                   "--fullscreen", "--scale", "3"},
                  line, error),
            CommandLineResult::Run)
      << error;
  EXPECT_EQ(line.dataDir, "d");
  EXPECT_TRUE(line.headless);
  EXPECT_EQ(line.scriptFile, "s.txt");
  EXPECT_EQ(line.frames, 120);
  EXPECT_EQ(line.dumpFile, "out.jsonl");
  EXPECT_EQ(line.captureDir, "pics");
  EXPECT_EQ(line.soundTraceFile, "t");
  for (int f : {0, 5, 10, 11, 12}) EXPECT_TRUE(line.dumpFrames.Contains(f)) << f;
  for (int f : {1, 4, 6, 9, 13}) EXPECT_FALSE(line.dumpFrames.Contains(f)) << f;
  EXPECT_TRUE(line.captureFrames.Contains(123456));
  EXPECT_TRUE(line.fullscreen);
  EXPECT_EQ(line.scale, 3);

  ASSERT_EQ(Parse({}, line, error), CommandLineResult::Run);
  EXPECT_EQ(line.frames, -1);
  EXPECT_FALSE(line.headless);
  EXPECT_TRUE(line.dumpFrames.Empty());
  EXPECT_FALSE(line.fullscreen);
  EXPECT_EQ(line.scale, 0);
  // The last of --fullscreen and --windowed wins.
  ASSERT_EQ(Parse({"--fullscreen", "--windowed"}, line, error), CommandLineResult::Run);
  EXPECT_FALSE(line.fullscreen);
  ASSERT_EQ(Parse({"--windowed", "--fullscreen"}, line, error), CommandLineResult::Run);
  EXPECT_TRUE(line.fullscreen);
  EXPECT_EQ(Parse({"--frames", "3", "--help"}, line, error), CommandLineResult::Help);
  EXPECT_EQ(Parse({"--version"}, line, error), CommandLineResult::Version);
}

TEST(CommandLine, MistakesAreErrorsThatNameTheProblem) {
  CommandLine line;
  std::string error;
  const std::vector<std::vector<const char*>> bad = {
      {"--turbo"}, {"--frames"}, {"--frames", "ten"}, {"--frames", "-3"}, {"--data"},
      {"--dump", "3"},  // without --dump-file
      {"--capture", "1", "--capture-dir"}, {"--dump", "5-2", "--dump-file", "f"}, {"--dump", "1,,2", "--dump-file", "f"},
      {"--script", ""}, {"--scale"}, {"--scale", "0"}, {"--scale", "9"}, {"--scale", "2x"}, {"--scale", "-1"},
      {"--full"}};
  for (const auto& args : bad) {
    error.clear();
    EXPECT_EQ(Parse(args, line, error), CommandLineResult::Error) << args[0];
    EXPECT_NE(error.find(args[0]), std::string::npos) << error;
  }
}

TEST(InputScript, LinesHoldTheirKeysUntilTheNextLine) {
  corvane::InputScript script;
  std::string error;
  ASSERT_TRUE(corvane::ParseInputScript("# menu walk\n0: down\n\n4: DOWN enter  # both\r\n9:\n12: close\n", script,
                                        error))
      << error;
  EXPECT_EQ(script.LineAt(0)->keys, std::vector<int>({VK_DOWN}));
  EXPECT_EQ(script.LineAt(3)->keys, std::vector<int>({VK_DOWN}));
  EXPECT_EQ(script.LineAt(4)->keys, std::vector<int>({VK_DOWN, VK_RETURN}));
  EXPECT_TRUE(script.LineAt(10)->keys.empty());
  EXPECT_TRUE(script.LineAt(500)->close);
  EXPECT_EQ(script.LineStartingAt(12), script.LineAt(12));
  EXPECT_EQ(script.LineStartingAt(13), nullptr);

  ASSERT_TRUE(corvane::ParseInputScript("5: up left right esc d\n", script, error));
  EXPECT_EQ(script.LineAt(4), nullptr);
  EXPECT_EQ(script.LineAt(5)->keys, std::vector<int>({VK_UP, VK_LEFT, VK_RIGHT, VK_ESCAPE, 'D'}));

  for (const char* bad : {"3 down\n", "x: up\n", "2: space\n", "4: up\n4: down\n", "7: up\n2: down\n"}) {
    EXPECT_FALSE(corvane::ParseInputScript(bad, script, error)) << bad;
    EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
  }
}

TEST(DataFolder, RequestedThenWorkingThenFallbacks) {
  std::string empty = MakeScratchDir("empty"), game = MakeScratchDir("game"), later = MakeScratchDir("later");
  mkdir((game + "/XFILE").c_str(), 0777);
  mkdir((later + "/TEXT").c_str(), 0777);
  std::string error;
  EXPECT_EQ(corvane::ChooseDataFolder(empty, game, {later}, error), empty);  // --data wins even when empty
  EXPECT_EQ(corvane::ChooseDataFolder("", game, {later}, error), game);
  EXPECT_EQ(corvane::ChooseDataFolder("", empty, {"", empty, later}, error), later);
  EXPECT_EQ(corvane::ChooseDataFolder("", empty, {empty}, error), "");
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(corvane::ChooseDataFolder(empty + "/missing", game, {later}, error), "");
  EXPECT_NE(error.find("missing"), std::string::npos);
}

TEST(WindowScale, LargestWholeMultipleThatFits) {
  // 800 x 600 client, 16 x 39 of frame (a sizing border and a caption).
  auto scale = [](int requested, int w, int h) { return corvane::ChooseWindowScale(requested, 800, 600, 16, 39, w, h); };
  EXPECT_EQ(scale(0, 1920, 1040), 1.0);  // 1.73 times the height fits: still 1
  EXPECT_EQ(scale(0, 2560, 1400), 2.0);
  EXPECT_EQ(scale(0, 3840, 2100), 3.0);  // height limits: (2100 - 39) / 600 = 3.4
  EXPECT_EQ(scale(0, 816, 639), 1.0);    // exactly fits
  EXPECT_EQ(scale(0, 0, 0), 1.0);        // screen unknown
  EXPECT_EQ(scale(2, 1024, 768), 2.0);   // --scale is taken as asked
  // Smaller screens get a window that still fits, keeping 4:3.
  double small = scale(0, 1024, 600);
  EXPECT_LT(small, 1.0);
  EXPECT_LE(600 * small + 39, 600.0 + 1e-9);
  EXPECT_LE(800 * small + 16, 1024.0);
}

}  // namespace
