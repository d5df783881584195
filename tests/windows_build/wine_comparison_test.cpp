// corvane.exe under Wine: against the Linux build on one short script (title,
// mode select, countdown, a little flight), every field of every frame's
// state dump, the sound trace, and the captured pictures; and the player's
// settings file in %APPDATA%\Corvane.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/settings_file.h"
#include "support/child_process.h"
#include "support/corvane_run.h"
#include "support/dump_comparison.h"
#include "support/virtual_display.h"

namespace {

const char* const SCRIPT = "0:\n60: enter\n62:\n140: enter\n142:\n300: left\n320:\n";
constexpr int FRAMES = 340;
const std::vector<int> TITLE_FRAMES = {30, 100};
const std::vector<int> OTHER_FRAMES = {150, 250, 339};  // mode select, countdown, flight
const char* const CAPTURED = "30,100,150,250,339";
constexpr int FLOAT_ULPS = 8;
constexpr int TITLE_LEVELS = 4;
constexpr int FAR_LEVELS = 16;
constexpr double FAR_SHARE = 0.005;
constexpr double MEAN_LEVELS = 0.25;

// Debian's wine64 package installs its loader outside the PATH.
std::string FindWine() {
  for (const char* candidate : {"/usr/bin/wine64", "/usr/lib/wine/wine64"})
    if (access(candidate, X_OK) == 0) return candidate;
  return "";
}

std::string WinePrefix() { return std::string(CORVANE_BINARY_DIR) + "/wine-prefix"; }

// Wine with its own prefix in the build tree, no debug chatter, no crash
// dialog, an ALSA null device as the sound card (from HOME's .asoundrc), and
// no anisotropic filtering (Wine's sprites ask for it, and llvmpipe's
// version blurs unscaled sprites: a difference of the test set-up, not of
// the game).
ChildSetup WineSetup(const std::string& home, const std::string& display) {
  WriteText(home + "/.asoundrc", "pcm.!default { type null }\nctl.!default { type hw card 0 }\n");
  ChildSetup setup;
  setup.env = {{"HOME", home},
               {"WINEPREFIX", WinePrefix()},
               {"WINEDEBUG", "-all"},
               {"WINEDLLOVERRIDES", "mscoree,mshtml,winedbg.exe="},
               {"MESA_EXTENSION_OVERRIDE", "-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic"},
               {"DISPLAY", display}};
  return setup;
}

// The server keeps the registry and the X connection of Wine's desktop
// process; waiting for it to end keeps both from outliving their test.
void WaitForWineServer(const std::string& wine, const std::string& home) {
  RunChild({wine.substr(0, wine.rfind('/')) + "/wineserver", "-w"}, WineSetup(home, ""));
}

// A fresh prefix takes Wine a minute to make; later runs reuse it.
bool PreparePrefix(const std::string& wine) {
  const std::string registry = WinePrefix() + "/system.reg";
  if (access(registry.c_str(), F_OK) == 0) return true;
  const std::string home = MakeScratchDir("wine-home");
  ChildSetup setup = WineSetup(home, "");
  setup.outFile = setup.errFile = "/dev/null";
  RunChild({wine, "wineboot", "-i"}, setup);
  WaitForWineServer(wine, home);  // the registry reaches the disk as the server ends
  return access(registry.c_str(), F_OK) == 0;
}

// corvane.exe on `script` (none when empty) for `frames` frames, dumping
// `dumpFrames`, with the sound trace and captures of `captureFrames` (none
// when empty), read back as a CorvaneRun.
CorvaneRun RunUnderWine(const std::string& wine, const std::string& program, const std::string& display,
                        const std::string& script, int frames, const std::string& dumpFrames,
                        const std::string& captureFrames = "") {
  CorvaneRun run;
  run.workDir = MakeScratchDir("wine");
  const std::string z = "Z:" + run.workDir;
  std::vector<std::string> args = {
      wine,     program,    "--data",      "Z:" + MakeScratchDataDir(), "--frames",      std::to_string(frames),
      "--dump", dumpFrames, "--dump-file", z + "/dump.jsonl",           "--sound-trace", z + "/sound.trace"};
  if (!script.empty()) {
    WriteText(run.workDir + "/keys.script", script);
    args.insert(args.end(), {"--script", z + "/keys.script"});
  }
  if (!captureFrames.empty()) args.insert(args.end(), {"--capture", captureFrames, "--capture-dir", z + "/captures"});
  ChildSetup setup = WineSetup(run.workDir, display);
  setup.outFile = "/dev/null";
  setup.errFile = run.workDir + "/stderr.txt";
  setup.timeLimit = 600;
  run.exitCode = RunChild(args, setup);
  run.stderrText = ReadText(setup.errFile);
  ReadRunFiles(run);
  return run;
}

// ---------------------------------------------------------------------------
// Captures. Differences that are Wine's, not ours, are left out by name.

struct Pixel {
  int r, g, b;
};

struct KnownDifference {
  const char* name;
  const char* reason;
  int fromFrame;  // the first frame whose screen can show it
  std::function<bool(int x, int y, Pixel ours, Pixel wine)> covers;
};

const KnownDifference KNOWN_WINE_DIFFERENCES[] = {
    {"colour-key fringe",
     "Wine's texture loader keeps the colour of colour-keyed pixels instead of making them transparent black "
     "(the documented behaviour, which ours follows), so filtered sprite edges lean to magenta on mode select",
     0,
     [](int, int, Pixel ours, Pixel wine) {
       return wine.r - ours.r > FAR_LEVELS && wine.b - ours.b > FAR_LEVELS && std::abs(wine.g - ours.g) <= 4;
     }},
    {"ship shading",
     "Wine's fixed-function lighting shades the ship's hull a little differently: a brightness step of the same "
     "hue, where the ship flies in this script (from the countdown on)",
     200,
     [](int x, int y, Pixel ours, Pixel wine) {
       bool onShip = x >= 300 && x < 500 && y >= 250 && y < 420;
       bool sameOrder = (ours.r <= ours.b) == (wine.r <= wine.b) && (ours.g <= ours.b) == (wine.g <= wine.b);
       return onShip && sameOrder && std::abs(ours.r - wine.r) <= 40 && std::abs(ours.g - wine.g) <= 40 &&
              std::abs(ours.b - wine.b) <= 40;
     }},
};

struct PictureDifference {
  long known[2] = {0, 0};  // pixels left out, per known difference
  int largest = 0;         // levels, any channel
  double farShare = 0.0;   // pixels more than FAR_LEVELS apart
  double mean = 0.0;       // levels per channel value
};

PictureDifference Compare(const std::vector<unsigned char>& ours, const std::vector<unsigned char>& wine, int w, int h,
                          int frame) {
  PictureDifference d;
  long far = 0;
  double total = 0.0;
  for (int i = 0; i < w * h; ++i) {
    const unsigned char* a = &ours[(size_t)i * 4];
    const unsigned char* b = &wine[(size_t)i * 4];
    Pixel pa{a[0], a[1], a[2]}, pb{b[0], b[1], b[2]};
    if (pa.r == pb.r && pa.g == pb.g && pa.b == pb.b) continue;
    bool known = false;
    for (int k = 0; k < 2 && !known; ++k) {
      const KnownDifference& difference = KNOWN_WINE_DIFFERENCES[k];
      if (frame >= difference.fromFrame && difference.covers(i % w, i / w, pa, pb)) known = ++d.known[k] > 0;
    }
    if (known) continue;
    int largest = std::max({std::abs(pa.r - pb.r), std::abs(pa.g - pb.g), std::abs(pa.b - pb.b)});
    total += std::abs(pa.r - pb.r) + std::abs(pa.g - pb.g) + std::abs(pa.b - pb.b);
    d.largest = std::max(d.largest, largest);
    if (largest > FAR_LEVELS) ++far;
  }
  d.farShare = (double)far / (w * h);
  d.mean = total / (3.0 * w * h);
  return d;
}

}  // namespace

class WindowsBuildUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    wine_ = FindWine();
    if (wine_.empty()) GTEST_SKIP() << "wine64 is not installed (Debian package wine64): skipped";
    if (!VirtualDisplay::Available()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): skipped";
    const char* given = std::getenv("CORVANE_WINDOWS_PROGRAM");
    program_ = given ? given : "";
    if (program_.empty() || access(program_.c_str(), F_OK) != 0)
      GTEST_SKIP() << "no corvane.exe at CORVANE_WINDOWS_PROGRAM='" << program_ << "': skipped";
    ASSERT_TRUE(PreparePrefix(wine_)) << "wineboot could not make the prefix";
    display_ = std::make_unique<VirtualDisplay>(1024, 768);
    ASSERT_FALSE(display_->display().empty()) << display_->logs();
  }
  void TearDown() override {
    if (display_) WaitForWineServer(wine_, MakeScratchDir("wine-home"));
  }
  CorvaneRun Run(const std::string& script, int frames, const std::string& dumpFrames,
                 const std::string& captureFrames = "") {
    return RunUnderWine(wine_, program_, display_->display(), script, frames, dumpFrames, captureFrames);
  }
  std::string wine_, program_;
  std::unique_ptr<VirtualDisplay> display_;
};

TEST_F(WindowsBuildUnderWine, MatchesTheLinuxBuildFrameByFrame) {
  CorvaneRun ours = RunCorvane(ComparedRunOptions(SCRIPT, FRAMES, CAPTURED));
  ASSERT_EQ(ours.exitCode, 0) << ours.stderrText;
  CorvaneRun theirs = Run(SCRIPT, FRAMES, "all", CAPTURED);
  ASSERT_EQ(theirs.exitCode, 0) << theirs.stderrText;

  // Every sound loads whatever the code page (most have Japanese names).
  for (const char* failure : {"sound is off", "missing sound", "cannot read sound", "cannot be played"})
    EXPECT_EQ(theirs.stderrText.find(failure), std::string::npos) << theirs.stderrText;

  ASSERT_NO_FATAL_FAILURE(ExpectSameDumpsAndSounds(ours, theirs, FLOAT_ULPS));

  for (bool title : {true, false}) {
    for (int frame : title ? TITLE_FRAMES : OTHER_FRAMES) {
      int w = 0, h = 0, w2 = 0, h2 = 0;
      std::vector<unsigned char> a, b;
      ASSERT_TRUE(ReadPng(CapturePath(ours, frame), w, h, a));
      ASSERT_TRUE(ReadPng(CapturePath(theirs, frame), w2, h2, b)) << "frame " << frame;
      ASSERT_TRUE(w == w2 && h == h2) << "frame " << frame;
      PictureDifference d = Compare(a, b, w, h, frame);
      std::printf("frame %d: largest %d levels, %.3f %% far apart, mean %.4f; left out: %ld (%s), %ld (%s)\n", frame,
                  d.largest, 100.0 * d.farShare, d.mean, d.known[0], KNOWN_WINE_DIFFERENCES[0].name, d.known[1],
                  KNOWN_WINE_DIFFERENCES[1].name);
      if (title) {
        EXPECT_LE(d.largest, TITLE_LEVELS) << "title frame " << frame;
      } else {
        EXPECT_LE(d.farShare, FAR_SHARE) << "frame " << frame;
        EXPECT_LE(d.mean, MEAN_LEVELS) << "frame " << frame;
      }
    }
  }
}

// The player's settings file (none for an empty text) in the Wine prefix's
// %APPDATA%\Corvane for the length of one run, removed again after it (the
// prefix is shared, so its tests run one at a time).
class PrefixSettings {
 public:
  explicit PrefixSettings(const std::string& text) {
    const passwd* user = getpwuid(getuid());
    dir_ = std::string(CORVANE_BINARY_DIR) + "/wine-prefix/drive_c/users/" + (user ? user->pw_name : "unknown") +
           "/AppData/Roaming/Corvane";
    std::filesystem::remove_all(dir_);
    if (text.empty()) return;
    std::filesystem::create_directories(dir_);
    WriteText(Path(), text);
  }
  ~PrefixSettings() { std::filesystem::remove_all(dir_); }
  std::string Path() const { return dir_ + "/settings.ini"; }

 private:
  std::string dir_;
};

TEST_F(WindowsBuildUnderWine, ReadsThePlayersSettingsFile) {
  // Into flight, then the keyboard's A, given to steering left, from frame 380.
  const std::string settings = "# mine\n[sound]\nmusic = 0\neffects = 0\n[keys]\nleft = A  ; steers left\n";
  const std::string script = "0:\n60: enter\n62:\n140: enter\n142:\n380: key:a\n";
  CorvaneRun theirs;
  {
    PrefixSettings file(settings);
    theirs = Run(script, 400, "379,399");
  }
  ASSERT_EQ(theirs.exitCode, 0) << theirs.stderrText;
  ASSERT_EQ(theirs.dump.size(), 2u);
  EXPECT_EQ(theirs.dump[0]["Player"]["velX"].number, 0.0);
  EXPECT_LT(theirs.dump[1]["Player"]["velX"].number, -0.1);

  // Silenced by the file, the game still makes the Linux build's sound calls.
  std::string home = MakeScratchDir("config");
  std::filesystem::create_directories(home + "/corvane");
  WriteText(home + "/corvane/settings.ini", settings);
  CorvaneRunOptions options;
  options.script = script;
  options.frames = 400;
  options.soundTrace = true;
  options.environment = {"XDG_CONFIG_HOME=" + home};
  CorvaneRun ours = RunCorvane(options);
  ASSERT_EQ(ours.exitCode, 0) << ours.stderrText;
  ASSERT_NO_FATAL_FAILURE(ExpectSameSoundTraces(ours, theirs));

  {
    const std::string damaged = "[keys]\nleft = A\nright = A\n";
    PrefixSettings file(damaged);
    CorvaneRun run = Run("0: key:a\n", 3, "0");
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    EXPECT_NE(run.stderrText.find("is damaged (the key 'A' is given to both left and right); using the defaults"),
              std::string::npos)
        << run.stderrText;
    EXPECT_EQ(ReadText(file.Path()), damaged);
  }

  // A player's first run (no script) makes the folder and the file with the defaults.
  PrefixSettings none("");
  CorvaneRun first = Run("", 3, "0");
  ASSERT_EQ(first.exitCode, 0) << first.stderrText;
  std::string written = ReadText(none.Path());
  written.erase(std::remove(written.begin(), written.end(), '\r'), written.end());
  EXPECT_EQ(written, corvane::FormatSettings(corvane::Settings{}));
}
