// A private X display (Xvfb) for tests that need a real window: focus,
// fullscreen. display() is empty when Xvfb could not start; Available()
// says whether it is installed at all.
#pragma once

#include <sys/types.h>

#include <string>

class VirtualDisplay {
 public:
  VirtualDisplay();
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  static bool Available();
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};
