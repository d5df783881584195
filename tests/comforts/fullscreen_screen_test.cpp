// The picture's shape on a real screen: a private 1280 x 720 Xvfb with a
// window manager, its root window grabbed with xwd while the game runs.
// Fullscreen, started so or switched with Alt+Enter, shows the 4:3 picture
// at the full screen height, centred between black bars; a window stays a
// window of the game's own size.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/corvane_run.h"

namespace {

constexpr int SCREEN_WIDTH = 1280, SCREEN_HEIGHT = 720;
const char* const XVFB = "/usr/bin/Xvfb";
const char* const WINDOW_MANAGER = "/usr/bin/openbox";
const char* const GRABBER = "/usr/bin/xwd";

using Clock = std::chrono::steady_clock;

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(100)); }

// Waits for a child until `deadline`, then kills it; its exit code, or -1.
int Reap(pid_t pid, Clock::time_point deadline) {
  int status = 0;
  pid_t done = 0;
  while ((done = waitpid(pid, &status, WNOHANG)) == 0) {
    if (Clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    Pause();
  }
  return done == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs argv with DISPLAY set and its output in `log`; killed after `limit` seconds.
pid_t Spawn(const std::vector<std::string>& args, const std::string& display, const std::string& log,
            const std::string& workDir, unsigned limit) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  if (!freopen(log.c_str(), "w", stdout) || !freopen(log.c_str(), "a", stderr)) _exit(127);
  setenv("DISPLAY", display.c_str(), 1);
  unsetenv("SDL_VIDEODRIVER");
  setenv("XDG_DATA_HOME", workDir.c_str(), 1);
  setenv("XDG_CONFIG_HOME", workDir.c_str(), 1);
  setenv("XDG_CACHE_HOME", workDir.c_str(), 1);
  if (chdir(workDir.c_str()) != 0) _exit(127);
  alarm(limit);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

// A 1280 x 720 Xvfb with a black root and openbox managing its windows.
class ManagedScreen {
 public:
  ManagedScreen() : dir_(MakeScratchDir("screen")) {
    int fds[2];
    if (pipe(fds) != 0) return;
    std::string size = std::to_string(SCREEN_WIDTH) + "x" + std::to_string(SCREEN_HEIGHT) + "x24";
    server_ = fork();
    if (server_ == 0) {
      close(fds[0]);
      if (!freopen((dir_ + "/xvfb.log").c_str(), "w", stderr)) _exit(127);
      std::string fd = std::to_string(fds[1]);
      execl(XVFB, "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size.c_str(), "-br", "-noreset", "-nolisten", "tcp",
            (char*)nullptr);
      _exit(127);
    }
    close(fds[1]);
    // Xvfb writes the number and its newline apart and dies if the pipe is
    // gone in between, so the pipe stays open until the newline is in.
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (c != '\n' || number.empty()) return;
    display_ = ":" + number;
    // openbox runs its start-up command once it manages the screen.
    const std::string ready = dir_ + "/ready";
    manager_ = Spawn({WINDOW_MANAGER, "--sm-disable", "--startup", "touch " + ready}, display_, dir_ + "/wm.log",
                     dir_, 600);
    for (auto end = Clock::now() + std::chrono::seconds(20); !managed_ && Clock::now() < end; Pause()) {
      managed_ = Exists(ready);
      if (!managed_ && waitpid(manager_, nullptr, WNOHANG) == manager_) {
        manager_ = -1;
        break;
      }
    }
  }
  ~ManagedScreen() {
    for (pid_t pid : {manager_, server_}) {
      if (pid <= 0) continue;
      kill(pid, SIGTERM);
      Reap(pid, Clock::now() + std::chrono::seconds(10));
    }
  }
  const std::string& display() const { return display_; }
  bool managed() const { return managed_; }
  std::string logs() const {
    return "display " + display_ + "\n" + ReadText(dir_ + "/xvfb.log") + ReadText(dir_ + "/wm.log");
  }

 private:
  std::string dir_, display_;
  pid_t server_ = -1, manager_ = -1;
  bool managed_ = false;
};

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
    if (columnLit[x]) e.left = std::min(e.left, x), e.right = std::max(e.right, x);
  for (int y = 0; y < (int)height; ++y)
    if (rowLit[y]) e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
  for (int x = 0; x < (int)width; ++x) e.litColumns += columnLit[x];
  for (int y = 0; y < (int)height; ++y) e.litRows += rowLit[y];
  return e;
}

Extent GrabScreen(const std::string& display, const std::string& dir) {
  const std::string file = dir + "/root.xwd";
  std::remove(file.c_str());
  pid_t pid = Spawn({GRABBER, "-root", "-silent", "-out", file}, display, dir + "/xwd.log", dir, 30);
  if (Reap(pid, Clock::now() + std::chrono::seconds(30)) != 0) return Extent{};
  return ExtentOfDump(ReadText(file));
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
  std::string errText;
};

bool DumpHasFrame(const std::string& dumpFile, int frame) {
  return ReadText(dumpFile).find("{\"frame\":" + std::to_string(frame) + ",") != std::string::npos;
}

bool Exited(pid_t pid) {  // without reaping it: Reap still reads its status
  siginfo_t info = {};
  return waitid(P_PID, (id_t)pid, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == pid;
}

bool WaitForFrame(const std::string& dumpFile, int frame, pid_t game, int seconds) {
  for (auto end = Clock::now() + std::chrono::seconds(seconds); Clock::now() < end; Pause()) {
    if (DumpHasFrame(dumpFile, frame)) return true;
    if (Exited(game)) return DumpHasFrame(dumpFile, frame);
  }
  return false;
}

// Runs the game on `screen` with `script`; once frame `grabFrame` is past,
// grabs the screen until `settled` holds (the window manager answers in its
// own time) or ten seconds pass; then lets it run to frame 240 and closes it.
ScreenRun RunAndGrab(const ManagedScreen& screen, const std::string& script, int grabFrame,
                     const std::vector<std::string>& extra, bool (*settled)(const Extent&)) {
  ScreenRun run;
  const std::string dir = MakeScratchDir("screen-run"), dump = dir + "/dump.jsonl";
  std::ofstream(dir + "/keys.script") << script;
  std::vector<std::string> args = {CorvaneBinary(), "--data", MakeScratchDataDir(), "--script", dir + "/keys.script",
                                   "--dump", std::to_string(grabFrame) + ",240", "--dump-file", dump};
  args.insert(args.end(), extra.begin(), extra.end());
  pid_t game = Spawn(args, screen.display(), dir + "/game.log", dir, 180);
  run.reachedGrabFrame = WaitForFrame(dump, grabFrame, game, 90);
  if (run.reachedGrabFrame) {
    for (auto end = Clock::now() + std::chrono::seconds(10); Clock::now() < end; Pause()) {
      run.extent = GrabScreen(screen.display(), dir);
      if (settled(run.extent)) break;
    }
    run.ranOn = WaitForFrame(dump, 240, game, 90);
  }
  kill(game, SIGTERM);  // a quit request: the game shuts down as usual
  run.exitCode = Reap(game, Clock::now() + std::chrono::seconds(30));
  run.errText = ReadText(dir + "/game.log");
  return run;
}

class FullscreenOnAScreen : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (Exists(XVFB) && Exists(WINDOW_MANAGER) && Exists(GRABBER)) screen_ = new ManagedScreen;
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
  static void ExpectRanAndClosed(const ScreenRun& run) {
    EXPECT_TRUE(run.reachedGrabFrame) << run.errText;
    EXPECT_TRUE(run.ranOn) << "the game stopped running after the switch\n" << run.errText;
    EXPECT_EQ(run.exitCode, 0) << run.errText;
    EXPECT_EQ(run.errText.find("fullscreen"), std::string::npos) << run.errText;
  }
  static void ExpectFullHeight4x3(const Extent& e) {
    ASSERT_TRUE(e.grabbed) << "xwd gave no readable 1280 x 720 picture";
    EXPECT_EQ(e.top, 0) << e;
    EXPECT_EQ(e.bottom, SCREEN_HEIGHT - 1) << e;
    EXPECT_NEAR(e.width(), 960, 2) << e;
    EXPECT_NEAR(e.left, 160, 2) << e;
    EXPECT_NEAR(SCREEN_WIDTH - 1 - e.right, e.left, 2) << "not centred: " << e;
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
  static ManagedScreen* screen_;
};

ManagedScreen* FullscreenOnAScreen::screen_ = nullptr;

TEST_F(FullscreenOnAScreen, StartedFullscreenFillsTheHeightAt4x3) {
  ScreenRun run = RunAndGrab(*screen_, "0:\n", 40, {"--fullscreen"}, FillsHeightAt4x3);
  ExpectRanAndClosed(run);
  ExpectFullHeight4x3(run.extent);
}

TEST_F(FullscreenOnAScreen, AWindowLeavesTheScreenBare) {
  ScreenRun run = RunAndGrab(*screen_, "0:\n", 40, {}, IsAWindow);
  ExpectRanAndClosed(run);
  ExpectAWindow(run.extent);
}

TEST_F(FullscreenOnAScreen, AltEnterSwitchesToFullscreenAndBack) {
  ScreenRun there = RunAndGrab(*screen_, "0:\n30: alt\n31: alt enter\n33:\n", 40, {}, FillsHeightAt4x3);
  ExpectRanAndClosed(there);
  ExpectFullHeight4x3(there.extent);

  ScreenRun back =
      RunAndGrab(*screen_, "0:\n30: alt\n31: alt enter\n33:\n60: alt\n61: alt enter\n63:\n", 100, {}, IsAWindow);
  ExpectRanAndClosed(back);
  ExpectAWindow(back.extent);
}

}  // namespace
