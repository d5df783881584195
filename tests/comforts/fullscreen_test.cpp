// Fullscreen on a real screen: a private 1280 x 720 Xvfb with a window
// manager, its root window grabbed with xwd while the game runs. Fullscreen,
// started so or switched with Alt+Enter or F11, shows the 4:3 picture at the
// full screen height, centred between black bars; a window stays a window of
// the game's own size. Switching keeps the game running with the same
// picture, and the Enter of an Alt+Enter never reaches the title menu.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "support/child_process.h"
#include "support/corvane_run.h"
#include "support/virtual_display.h"

namespace {

constexpr int SCREEN_WIDTH = 1280, SCREEN_HEIGHT = 720;
const char* const GRABBER = "/usr/bin/xwd";

using Clock = std::chrono::steady_clock;

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(100)); }

// Where anything but pure black shows on the grabbed screen, and how much
// of that box is lit: the bars and the root are black, the picture is not.
struct Extent {
  bool grabbed = false;
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; right < left when all black
  int litColumns = 0, litRows = 0;                 // inside the box
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

std::ostream& operator<<(std::ostream& out, const Extent& e) {
  return out << "lit box x " << e.left << ".." << e.right << ", y " << e.top << ".." << e.bottom << " ("
             << e.width() << " x " << e.height() << "), lit columns " << e.litColumns << ", lit rows "
             << e.litRows;
}

uint32_t BigEndian32(const std::string& s, size_t at) {
  return (uint32_t)(unsigned char)s[at] << 24 | (uint32_t)(unsigned char)s[at + 1] << 16 |
         (uint32_t)(unsigned char)s[at + 2] << 8 | (uint32_t)(unsigned char)s[at + 3];
}

// Reads an xwd dump of a 24 or 32 bits-a-pixel ZPixmap: xwd gives 32 for a
// screen of one visual and packs 24 when windows of other visuals show.
Extent ExtentOfDump(const std::string& xwd) {
  Extent e;
  if (xwd.size() < 100) return e;
  auto field = [&](int i) { return BigEndian32(xwd, (size_t)i * 4); };
  const uint32_t headerSize = field(0), format = field(2), width = field(4), height = field(5);
  const uint32_t lsbFirst = field(7) == 0, bitsPerPixel = field(11), bytesPerLine = field(12);
  const uint32_t colourMask = field(14) | field(15) | field(16), colours = field(19);
  const size_t pixels = (size_t)headerSize + (size_t)colours * 12;
  const uint32_t bytesPerPixel = bitsPerPixel / 8;
  if (format != 2 || (bitsPerPixel != 24 && bitsPerPixel != 32) || width != SCREEN_WIDTH ||
      height != SCREEN_HEIGHT || bytesPerLine < width * bytesPerPixel ||
      xwd.size() < pixels + (size_t)bytesPerLine * height)
    return e;
  std::vector<int> columnLit(width), rowLit(height);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const unsigned char* p =
          (const unsigned char*)xwd.data() + pixels + (size_t)y * bytesPerLine + x * bytesPerPixel;
      uint32_t value = 0;
      for (uint32_t i = 0; i < bytesPerPixel; ++i)
        value |= (uint32_t)p[i] << (8 * (lsbFirst ? i : bytesPerPixel - 1 - i));
      if (value & colourMask) columnLit[x] = rowLit[y] = 1;
    }
  e.grabbed = true;
  e.left = e.top = 1 << 30;
  for (int x = 0; x < (int)width; ++x)
    if (columnLit[x]) e.left = std::min(e.left, x), e.right = std::max(e.right, x), ++e.litColumns;
  for (int y = 0; y < (int)height; ++y)
    if (rowLit[y]) e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y), ++e.litRows;
  return e;
}

// By hand: 720 high at 4:3 is 960 wide, leaving (1280 - 960) / 2 = 160 of
// black at each side; two pixels of slack for the scaling filter's edges.
bool FillsHeightAt4x3(const Extent& e) {
  return e.grabbed && e.top == 0 && e.bottom == SCREEN_HEIGHT - 1 && std::abs(e.width() - 960) <= 2 &&
         std::abs(e.left - 160) <= 2 && std::abs((SCREEN_WIDTH - 1 - e.right) - e.left) <= 2;
}

// At 1280 x 720 twice 800 x 600 does not fit, so the window is the game's
// 800 x 600 with the window manager's frame around it and bare screen beside.
bool IsAWindow(const Extent& e) {
  return e.grabbed && e.width() >= 800 && e.width() <= 840 && e.height() >= 600 && e.height() <= 660;
}

struct ScreenRun {
  int exitCode = -1;
  bool reachedGrabFrame = false, ranOn = false;
  Extent extent;
  std::string errText, dir;
  std::vector<JsonValue> dump;  // frames 0 to 100
};

bool DumpHasFrame(const std::string& dumpFile, int frame) {
  return ReadText(dumpFile).find("{\"frame\":" + std::to_string(frame) + ",") != std::string::npos;
}

bool WaitForFrame(const std::string& dumpFile, int frame, pid_t game, int seconds) {
  for (auto end = Clock::now() + std::chrono::seconds(seconds); Clock::now() < end; Pause()) {
    if (DumpHasFrame(dumpFile, frame)) return true;
    if (ChildEnded(game)) return DumpHasFrame(dumpFile, frame);
  }
  return false;
}

class Fullscreen : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (VirtualDisplay::Available(true) && access(GRABBER, X_OK) == 0)
      screen_ = new VirtualDisplay(SCREEN_WIDTH, SCREEN_HEIGHT, true);
  }
  static void TearDownTestSuite() {
    delete screen_;
    screen_ = nullptr;
  }
  void SetUp() override {
    if (!screen_)
      GTEST_SKIP() << "needs Xvfb, openbox and xwd (Debian packages xvfb, openbox, x11-apps; scripts/setup.sh "
                      "installs them)";
    ASSERT_FALSE(screen_->display().empty()) << "Xvfb did not start";
    ASSERT_TRUE(screen_->managed()) << "openbox did not start: " << screen_->logs();
  }

  Extent Grab(const std::string& dir) {
    const std::string file = dir + "/root.xwd";
    std::remove(file.c_str());
    ChildSetup setup;
    setup.outFile = setup.errFile = dir + "/xwd.log";
    setup.env = {{"DISPLAY", screen_->display()}};
    if (RunChild({GRABBER, "-root", "-silent", "-out", file}, setup) != 0) return Extent{};
    return ExtentOfDump(ReadText(file));
  }

  // Runs the game on the screen with `script`, every frame up to 100 dumped
  // and frames 20 and 60 captured; once frame `grabFrame` is past, grabs the
  // screen until `settled` holds (the window manager answers in its own time)
  // or ten seconds pass; then lets it run to frame 240 and closes it.
  ScreenRun RunAndGrab(const std::string& script, int grabFrame, const std::vector<std::string>& extra,
                       bool (*settled)(const Extent&)) {
    ScreenRun run;
    run.dir = MakeScratchDir("screen-run");
    const std::string dump = run.dir + "/dump.jsonl";
    WriteText(run.dir + "/keys.script", script);
    std::vector<std::string> args = {CorvaneBinary(), "--data", MakeScratchDataDir(), "--script",
                                     run.dir + "/keys.script", "--dump", "0-100,240", "--dump-file", dump,
                                     "--capture", "20,60", "--capture-dir", run.dir};
    args.insert(args.end(), extra.begin(), extra.end());
    ChildSetup setup;
    setup.workDir = run.dir;
    setup.outFile = setup.errFile = run.dir + "/game.log";
    setup.env = {{"DISPLAY", screen_->display()}, {"SDL_VIDEODRIVER", ""}, {"XDG_DATA_HOME", run.dir}};
    setup.timeLimit = 180;
    pid_t game = StartChild(args, setup);
    run.reachedGrabFrame = WaitForFrame(dump, grabFrame, game, 90);
    if (run.reachedGrabFrame) {
      for (auto end = Clock::now() + std::chrono::seconds(10); Clock::now() < end; Pause()) {
        run.extent = Grab(run.dir);
        if (settled(run.extent)) break;
      }
      run.ranOn = WaitForFrame(dump, 240, game, 90);
    }
    kill(game, SIGTERM);  // a quit request: the game shuts down as usual
    run.exitCode = WaitChild(game, 30);
    run.errText = ReadText(run.dir + "/game.log");
    run.dump = ReadDump(dump);
    return run;
  }

  static void ExpectRanAndClosed(const ScreenRun& run) {
    EXPECT_TRUE(run.reachedGrabFrame) << run.errText;
    EXPECT_TRUE(run.ranOn) << "the game stopped running after the switch\n" << run.errText;
    EXPECT_EQ(run.exitCode, 0) << run.errText;
    EXPECT_EQ(run.errText.find("fullscreen"), std::string::npos) << run.errText;
  }
  static void ExpectFullHeight4x3(const Extent& e) {
    ASSERT_TRUE(e.grabbed) << "xwd gave no readable 1280 x 720 picture";
    EXPECT_TRUE(FillsHeightAt4x3(e)) << e;
    // The box is the picture itself, not two specks at its corners.
    EXPECT_GE(e.litColumns, e.width() * 98 / 100) << e;
    EXPECT_EQ(e.litRows, SCREEN_HEIGHT) << e;
  }
  static void ExpectAWindow(const Extent& e) {
    ASSERT_TRUE(e.grabbed) << "xwd gave no readable 1280 x 720 picture";
    EXPECT_TRUE(IsAWindow(e)) << e;
    EXPECT_GT(e.left + (SCREEN_WIDTH - 1 - e.right), 400) << "the window covers the screen: " << e;
    EXPECT_GE(e.litColumns, 800) << e;
    EXPECT_GE(e.litRows, 600) << e;
  }
  // The 800 x 600 picture of frames 20 and 60 is the same in both runs.
  static void ExpectSamePictures(const ScreenRun& a, const ScreenRun& b) {
    for (int frame : {20, 60}) {
      char name[32];
      std::snprintf(name, sizeof name, "/frame-%06d.png", frame);
      int w = 0, h = 0;
      std::vector<unsigned char> first, second;
      ASSERT_TRUE(ReadPng(a.dir + name, w, h, first)) << frame;
      EXPECT_EQ(w * h, 800 * 600);
      ASSERT_TRUE(ReadPng(b.dir + name, w, h, second)) << frame;
      EXPECT_TRUE(first == second) << "frame " << frame;
    }
  }
  static VirtualDisplay* screen_;
};

VirtualDisplay* Fullscreen::screen_ = nullptr;

TEST_F(Fullscreen, AWindowLeavesTheScreenBareAndFullscreenFillsTheHeightAt4x3WithTheSamePicture) {
  ScreenRun window = RunAndGrab("0:\n", 40, {}, IsAWindow);
  ExpectRanAndClosed(window);
  ExpectAWindow(window.extent);

  ScreenRun full = RunAndGrab("0:\n", 40, {"--fullscreen"}, FillsHeightAt4x3);
  ExpectRanAndClosed(full);
  ExpectFullHeight4x3(full.extent);
  ExpectSamePictures(window, full);
}

TEST_F(Fullscreen, AltEnterAndF11SwitchBackAndForthAndTheEnterNeverReachesTheMenu) {
  // Alt+Enter, then F11 twice: fullscreen in the end.
  ScreenRun there =
      RunAndGrab("0:\n30: alt\n31: alt enter\n33:\n40: f11\n41:\n50: f11\n51:\n", 60, {}, FillsHeightAt4x3);
  ExpectRanAndClosed(there);
  ExpectFullHeight4x3(there.extent);
  ScreenRun back =
      RunAndGrab("0:\n30: alt\n31: alt enter\n33:\n60: alt\n61: alt enter\n63:\n", 100, {}, IsAWindow);
  ExpectRanAndClosed(back);
  ExpectAWindow(back.extent);
  ExpectSamePictures(there, back);

  // Alt+Enter on the title menu reaches no menu: no fade...
  ASSERT_GT(there.dump.size(), 100u);
  for (int frame = 30; frame <= 100; ++frame) EXPECT_FALSE(there.dump[frame]["fadeActive"].boolean) << frame;
  // ...where a plain Enter at the same frame starts it.
  ScreenRun entered = RunAndGrab("0:\n31: enter\n33:\n", 40, {}, IsAWindow);
  ASSERT_GT(entered.dump.size(), 32u);
  EXPECT_TRUE(entered.dump[32]["fadeActive"].boolean);
}

}  // namespace
