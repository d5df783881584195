// The window options and the window size chosen for a screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/command_line.h"
#include "win32/window_scale.h"

namespace {

using corvane::CommandLineResult;

CommandLineResult Parse(std::vector<const char*> args, corvane::CommandLine& out, std::string& error) {
  args.insert(args.begin(), "corvane");
  return corvane::ParseCommandLine((int)args.size(), args.data(), out, error);
}

TEST(WindowOptions, FullscreenWindowedAndScale) {
  corvane::CommandLine line;
  std::string error;
  ASSERT_EQ(Parse({"--fullscreen", "--scale", "3"}, line, error), CommandLineResult::Run) << error;
  EXPECT_TRUE(line.fullscreen);
  EXPECT_EQ(line.scale, 3);
  ASSERT_EQ(Parse({"--fullscreen", "--windowed"}, line, error), CommandLineResult::Run);
  EXPECT_FALSE(line.fullscreen);
  ASSERT_EQ(Parse({"--windowed", "--fullscreen"}, line, error), CommandLineResult::Run);
  EXPECT_TRUE(line.fullscreen);
  ASSERT_EQ(Parse({}, line, error), CommandLineResult::Run);
  EXPECT_FALSE(line.fullscreen);
  EXPECT_EQ(line.scale, 0);

  for (const std::vector<const char*>& bad : std::vector<std::vector<const char*>>{
           {"--scale"}, {"--scale", "0"}, {"--scale", "9"}, {"--scale", "2x"}, {"--scale", "-1"}, {"--full"}}) {
    error.clear();
    EXPECT_EQ(Parse(bad, line, error), CommandLineResult::Error) << bad[0];
    EXPECT_NE(error.find(bad[0]), std::string::npos) << error;
  }
}

TEST(WindowOptions, HelpListsEveryOption) {
  const std::string usage = corvane::CommandLineUsage();
  for (const char* option : {"--fullscreen", "--windowed", "--scale N", "--data DIR", "--headless", "--script FILE",
                             "--frames N", "--dump FRAMES", "--dump-file FILE", "--capture FRAMES",
                             "--capture-dir DIR", "--sound-trace FILE", "--help", "--version"})
    EXPECT_NE(usage.find(std::string("  ") + option), std::string::npos) << option;
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
