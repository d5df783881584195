// Sleep on the native flavour: the thread really sleeps.
#include <windows.h>

#include <sched.h>

#include <ctime>

#include "common/virtual_clock.h"

extern "C" void WINAPI Sleep(DWORD dwMilliseconds) {
  // A virtual clock does not move while the program waits.
  if (corvane::VirtualClockActive()) return;
  timespec ts;
  ts.tv_sec = dwMilliseconds / 1000;
  ts.tv_nsec = (long)(dwMilliseconds % 1000) * 1000000L;
  if (dwMilliseconds == 0) {
    sched_yield();
    return;
  }
  while (nanosleep(&ts, &ts) != 0) {
  }
}
