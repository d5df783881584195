// Keys for a scripted round, chosen from the state dump of the frame before:
// Enter through the title and the mode select, steering around the stones
// (towards items while none is held) and, at a gate, the next arrow for one
// frame and then a frame with every arrow key up.
#pragma once

#include <string>

#include "support/corvane_run.h"

struct Pilot {
  bool typeArrows = true;  // false: wait at the gates
  bool seekItems = true;

  std::string KeysAfter(const JsonValue& state);

 private:
  bool arrowDown_ = false;
  std::string Steer(const JsonValue& state) const;
};

// The arrow key for an arrow code of the gate: 0 up, 1 right, 2 down, 3 left.
const char* ArrowKey(int code);
