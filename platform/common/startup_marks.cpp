#include "common/startup_marks.h"

#include <ctime>

namespace corvane {
namespace {

StartupSpent spent[int(StartupPart::Count)];
StartupMoment moments[int(StartupMark::Count)];
thread_local int depth = 0;

double Seconds(clockid_t clock) {
  timespec t = {};
  clock_gettime(clock, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

}  // namespace

StartupTimer::StartupTimer(StartupPart part)
    : part_(part), outermost_(depth++ == 0), wall_(Seconds(CLOCK_MONOTONIC)), cpu_(Seconds(CLOCK_THREAD_CPUTIME_ID)) {}

StartupTimer::~StartupTimer() {
  --depth;
  if (!outermost_) return;
  StartupSpent& s = spent[int(part_)];
  ++s.calls;
  s.wallSeconds += Seconds(CLOCK_MONOTONIC) - wall_;
  s.cpuSeconds += Seconds(CLOCK_THREAD_CPUTIME_ID) - cpu_;
}

StartupSpent StartupTimeIn(StartupPart part) { return spent[int(part)]; }

void MarkStartup(StartupMark mark) {
  StartupMoment& moment = moments[int(mark)];
  if (moment.taken) return;
  moment = {true, Seconds(CLOCK_MONOTONIC), Seconds(CLOCK_PROCESS_CPUTIME_ID)};
}

StartupMoment StartupMarkAt(StartupMark mark) { return moments[int(mark)]; }

}  // namespace corvane
