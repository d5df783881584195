// On a real X display, a window that loses focus in flight runs no game
// frame until focus comes back, then carries on from the same frame. Keys
// and focus come from xdotool, as a player's would: a scripted run is never
// stopped.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "game/world_state.h"
#include "support/child_process.h"
#include "support/corvane_run.h"
#include "support/virtual_display.h"

namespace {

// Runs an X command line on the display and returns its first output line.
std::string X(const std::string& display, const std::string& command) {
  std::string line;
  std::FILE* out = popen(("DISPLAY=" + display + " " + command + " 2>/dev/null").c_str(), "r");
  if (!out) return line;
  char buffer[256];
  if (std::fgets(buffer, sizeof buffer, out)) line = buffer;
  pclose(out);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

// Polls the dump until `done` holds for its last row; false after `seconds`.
bool WaitFor(const std::string& dump, const std::function<bool(const JsonValue&)>& done, int seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    std::vector<JsonValue> rows = ReadDump(dump);
    if (!rows.empty() && done(rows.back())) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TEST(FocusPause, NoGameFrameRunsWithoutFocus) {
  if (!VirtualDisplay::Available() || access("/usr/bin/xdotool", X_OK) != 0)
    GTEST_SKIP() << "needs Xvfb and xdotool (Debian packages xvfb, xdotool)";
  VirtualDisplay display;
  ASSERT_FALSE(display.display().empty()) << "Xvfb did not start";
  const std::string& d = display.display();
  std::string dir = MakeScratchDir("focus");
  std::string dump = dir + "/dump.jsonl";
  std::string data = MakeScratchDataDir();
  ChildSetup setup;
  setup.errFile = dir + "/stderr.txt";
  setup.env = {{"DISPLAY", d}, {"SDL_VIDEODRIVER", ""}, {"XDG_CONFIG_HOME", dir + "/config"}, {"XDG_DATA_HOME", dir}};
  const pid_t game = StartChild({CorvaneBinary(), "--data", data, "--dump", "all", "--dump-file", dump}, setup);
  std::string window;
  for (int i = 0; i < 100 && window.empty(); ++i, Sleep(100))
    window = X(d, "xdotool search --pid " + std::to_string(game));
  std::string root = X(d, "xwininfo -root | awk '/Window id/ {print $4}'");
  auto focusGame = [&] { X(d, "xdotool windowfocus --sync " + window); };
  // Enter until the screen after `scene` shows (a screen takes keys only once it is up).
  auto enterUntilPast = [&](int scene) {
    for (int tries = 0; tries < 20; ++tries) {
      X(d, "xdotool key Return");
      if (WaitFor(dump, [&](const JsonValue& r) { return r["scene"].number > scene; }, 3)) return true;
    }
    return false;
  };

  ASSERT_FALSE(window.empty());
  focusGame();
  ASSERT_TRUE(enterUntilPast(SCENE_TITLE));
  ASSERT_TRUE(enterUntilPast(SCENE_MODE_SELECT));
  ASSERT_TRUE(WaitFor(dump, [](const JsonValue& r) { return r["Round"]["phase"].number == PHASE_FLYING; }, 120));

  X(d, "xdotool windowfocus --sync " + root);
  Sleep(500);  // the frame under way when focus went finishes
  size_t stopped = ReadDump(dump).size();
  Sleep(2000);
  std::vector<JsonValue> during = ReadDump(dump);
  focusGame();
  Sleep(1500);
  std::vector<JsonValue> after = ReadDump(dump);
  kill(game, SIGTERM);
  WaitChild(game, 30);

  EXPECT_EQ(during.size(), stopped) << "game frames ran without focus";
  ASSERT_GT(after.size(), during.size() + 10) << "the game did not go on with focus back";
  // It goes on from the frame it stopped at, still flying.
  const JsonValue& last = during.back();
  const JsonValue& next = after[during.size()];
  EXPECT_EQ(next["frame"].number, last["frame"].number + 1);
  EXPECT_EQ(next["Round"]["phase"].number, PHASE_FLYING);
  EXPECT_GT(after.back()["Round"]["score"].number, last["Round"]["score"].number);
}

}  // namespace
