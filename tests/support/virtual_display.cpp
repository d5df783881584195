#include "support/virtual_display.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {
const char* const XVFB = "/usr/bin/Xvfb";
}  // namespace

bool VirtualDisplay::Available() { return access(XVFB, X_OK) == 0; }

VirtualDisplay::VirtualDisplay() {
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    if (!freopen("/dev/null", "w", stderr)) _exit(127);
    std::string fd = std::to_string(fds[1]);
    execl(XVFB, "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x900x24", "-nolisten", "tcp", (char*)nullptr);
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes the number and its newline separately and dies if the pipe
  // is closed in between, so read up to the newline.
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (!number.empty()) display_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}
