#include "common/startup_work.h"

namespace corvane {
namespace {

void (*pendingEnd)() = nullptr;

}  // namespace

void AtStartupEnd(void (*end)()) { pendingEnd = end; }

void EndStartup() {
  void (*end)() = pendingEnd;
  pendingEnd = nullptr;
  if (end) end();
}

}  // namespace corvane
