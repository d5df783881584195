#include "support/virtual_display.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/child_process.h"
#include "support/files.h"

namespace {

const char* const XVFB = "/usr/bin/Xvfb";
const char* const WINDOW_MANAGER = "/usr/bin/openbox";

}  // namespace

bool VirtualDisplay::Available(bool withWindowManager) {
  return access(XVFB, X_OK) == 0 && (!withWindowManager || access(WINDOW_MANAGER, X_OK) == 0);
}

VirtualDisplay::VirtualDisplay(int width, int height, bool withWindowManager) : dir_(MakeScratchDir("display")) {
  int fds[2];
  if (pipe(fds) != 0) return;
  ChildSetup setup;
  setup.errFile = dir_ + "/xvfb.log";
  setup.timeLimit = 1800;
  setup.inChild = [&] { return close(fds[0]) == 0; };
  server_ = StartChild({XVFB, "-displayfd", std::to_string(fds[1]), "-screen", "0",
                        std::to_string(width) + "x" + std::to_string(height) + "x24", "-br", "-noreset",
                        "-nolisten", "tcp"},
                       setup);
  close(fds[1]);
  // Xvfb writes the number and its newline apart and dies if the pipe is
  // gone in between, so the pipe stays open until the newline is in.
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (c != '\n' || number.empty()) return;
  display_ = ":" + number;
  if (!withWindowManager) return;

  // openbox runs its start-up command once it manages the screen.
  const std::string ready = dir_ + "/ready";
  ChildSetup wm;
  wm.workDir = dir_;
  wm.outFile = wm.errFile = dir_ + "/wm.log";
  wm.env = {{"DISPLAY", display_}, {"XDG_CONFIG_HOME", dir_}, {"XDG_CACHE_HOME", dir_}};
  wm.timeLimit = 1800;
  manager_ = StartChild({WINDOW_MANAGER, "--sm-disable", "--startup", "touch " + ready}, wm);
  for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
       !managed_ && std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
    managed_ = access(ready.c_str(), F_OK) == 0;
    if (!managed_ && ChildEnded(manager_)) break;
  }
}

VirtualDisplay::~VirtualDisplay() {
  for (pid_t pid : {manager_, server_}) {
    if (pid <= 0) continue;
    kill(pid, SIGTERM);
    WaitChild(pid, 10);
  }
}

std::string VirtualDisplay::logs() const {
  return "display " + display_ + "\n" + ReadText(dir_ + "/xvfb.log") + ReadText(dir_ + "/wm.log");
}
