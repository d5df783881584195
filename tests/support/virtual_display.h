// A private X server (Xvfb) for tests that need a real window (focus,
// fullscreen, the Windows build under Wine), with openbox managing its
// windows when asked for.
#pragma once

#include <sys/types.h>

#include <string>

class VirtualDisplay {
 public:
  // Whether Xvfb is installed (openbox too, when `withWindowManager`).
  static bool Available(bool withWindowManager = false);

  explicit VirtualDisplay(int width = 1280, int height = 720, bool withWindowManager = false);
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  // ":N"; empty when Xvfb did not start.
  const std::string& display() const { return display_; }
  // Whether openbox manages the screen.
  bool managed() const { return managed_; }
  // The servers' own output, for failure messages.
  std::string logs() const;

 private:
  std::string dir_, display_;
  pid_t server_ = -1, manager_ = -1;
  bool managed_ = false;
};
