// A start-up that cannot go on ends with one line saying why and a failing
// exit status; so does a run whose automation outputs could not be written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "support/corvane_run.h"

namespace {

void ExpectOneLineFailure(const CorvaneRun& run, const std::string& saying) {
  EXPECT_EQ(run.exitCode, 1) << run.stderrText;
  EXPECT_EQ(Occurrences(run.stderrText, "\n"), 1) << run.stderrText;
  EXPECT_NE(run.stderrText.find(saying), std::string::npos) << run.stderrText;
}

TEST(FailedStart, OldOpenGlOrNoDisplaySaysWhyInOneLine) {
  CorvaneRunOptions options;
  options.frames = 3;
  options.environment = {"MESA_GL_VERSION_OVERRIDE=3.0", "MESA_GLSL_VERSION_OVERRIDE=130"};
  ExpectOneLineFailure(RunCorvane(options), "needs OpenGL 3.3");

  options.headless = false;
  options.environment = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
  CorvaneRun noDisplay = RunCorvane(options);
  ExpectOneLineFailure(noDisplay, "no display found");
  EXPECT_NE(noDisplay.stderrText.find("--headless"), std::string::npos);

  // A driver the user named is theirs to choose, display or not.
  options.environment = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER=offscreen"};
  CorvaneRun chosen = RunCorvane(options);
  EXPECT_EQ(chosen.exitCode, 0) << chosen.stderrText;
}

TEST(FailedStart, AFolderIsNoScript) {
  CorvaneRunOptions options;
  options.frames = 3;
  options.extraArgs = {"--script", MakeScratchDir("script")};
  CorvaneRun run = RunCorvane(options);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.stderrText.find("is a folder"), std::string::npos) << run.stderrText;
}

// A full disk for the dump and the trace, and a capture whose file name is
// taken by a folder: each is said once, the run plays on and then fails.
TEST(FailedOutputs, AreSaidOnceAndFailTheRun) {
  std::string captures = MakeScratchDir("captures");
  ASSERT_EQ(mkdir((captures + "/frame-000001.png").c_str(), 0777), 0);
  CorvaneRunOptions options;
  options.script = "0:\n";
  options.frames = 4;
  options.extraArgs = {"--dump",    "all",   "--dump-file",   "/dev/full", "--sound-trace", "/dev/full",
                       "--capture", "0-3", "--capture-dir", captures};
  CorvaneRun run = RunCorvane(options);
  EXPECT_EQ(run.exitCode, 1) << run.stderrText;
  EXPECT_EQ(Occurrences(run.stderrText, "cannot write the state dump '/dev/full'"), 1) << run.stderrText;
  EXPECT_EQ(Occurrences(run.stderrText, "cannot write the sound trace '/dev/full'"), 1) << run.stderrText;
  EXPECT_EQ(Occurrences(run.stderrText, "cannot write the capture"), 1) << run.stderrText;
  struct stat info;
  EXPECT_EQ(stat((captures + "/frame-000003.png").c_str(), &info), 0);  // later frames are still captured
}

}  // namespace
