// Fullscreen switching on a real X display (a private Xvfb): the game keeps
// running, its picture is unchanged, and Alt+Enter on the title menu starts
// no fade, where a plain Enter does.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/corvane_run.h"
#include "support/virtual_display.h"

namespace {

struct DisplayRun {
  int exitCode = -1;
  std::string dir, errText;
  std::vector<JsonValue> dump;
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The game in a window on `display`, keys from `script`, every frame dumped.
DisplayRun RunOnDisplay(const std::string& display, const std::string& script, int frames,
                        const std::vector<std::string>& extra = {}) {
  DisplayRun run;
  run.dir = MakeScratchDir("display");
  std::ofstream(run.dir + "/keys.script") << script;
  std::vector<std::string> args = {CorvaneBinary(), "--data", MakeScratchDataDir(), "--script",
                                   run.dir + "/keys.script", "--frames", std::to_string(frames), "--dump", "all",
                                   "--dump-file", run.dir + "/dump.jsonl", "--capture", "20,60", "--capture-dir",
                                   run.dir + "/captures"};
  args.insert(args.end(), extra.begin(), extra.end());
  pid_t child = fork();
  if (child == 0) {
    if (!freopen((run.dir + "/stderr.txt").c_str(), "w", stderr)) _exit(127);
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");
    setenv("XDG_DATA_HOME", run.dir.c_str(), 1);
    alarm(300);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.errText = ReadText(run.dir + "/stderr.txt");
  std::stringstream lines(ReadText(run.dir + "/dump.jsonl"));
  std::string line;
  while (std::getline(lines, line)) {
    run.dump.emplace_back();
    ParseJson(line, run.dump.back());
  }
  return run;
}

std::vector<unsigned char> Capture(const DisplayRun& run, int frame, int& w, int& h) {
  char name[32];
  std::snprintf(name, sizeof name, "/captures/frame-%06d.png", frame);
  std::vector<unsigned char> rgba;
  if (!ReadPng(run.dir + name, w, h, rgba)) rgba.clear();
  return rgba;
}

TEST(FullscreenOnADisplay, TogglingKeepsTheGameAndItsPicture) {
  if (!VirtualDisplay::Available()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
  VirtualDisplay display;
  ASSERT_FALSE(display.display().empty()) << "Xvfb did not start";

  const int frames = 70;
  DisplayRun windowed = RunOnDisplay(display.display(), "0:\n", frames);
  DisplayRun toggled = RunOnDisplay(display.display(), "0:\n30: alt\n31: alt enter\n33:\n40: f11\n41:\n50: f11\n51:\n",
                                    frames);
  DisplayRun started = RunOnDisplay(display.display(), "0:\n", frames, {"--fullscreen"});
  DisplayRun entered = RunOnDisplay(display.display(), "0:\n31: enter\n33:\n", frames);
  for (const DisplayRun* run : {&windowed, &toggled, &started, &entered}) {
    ASSERT_EQ(run->exitCode, 0) << run->errText;
    ASSERT_EQ(run->dump.size(), (size_t)frames) << run->errText;
    EXPECT_EQ(run->errText.find("fullscreen"), std::string::npos) << run->errText;
  }
  // Alt+Enter on the title menu reaches no menu: no fade, the screen stays.
  for (int frame = 30; frame < frames; ++frame) {
    EXPECT_FALSE(toggled.dump[frame]["fadeActive"].boolean) << frame;
    EXPECT_EQ(toggled.dump[frame]["scene"].number, windowed.dump[frame]["scene"].number) << frame;
  }
  // ...where a plain Enter at the same frame starts it.
  EXPECT_TRUE(entered.dump[32]["fadeActive"].boolean);

  // The 800 x 600 picture is the same frame for frame in a window, after
  // switching, and when started fullscreen.
  for (int frame : {20, 60}) {
    int w0 = 0, h0 = 0, w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    std::vector<unsigned char> reference = Capture(windowed, frame, w0, h0);
    ASSERT_EQ(w0, 800);
    ASSERT_EQ(h0, 600);
    EXPECT_TRUE(Capture(toggled, frame, w1, h1) == reference) << frame;
    EXPECT_TRUE(Capture(started, frame, w2, h2) == reference) << frame;
  }
}

}  // namespace
