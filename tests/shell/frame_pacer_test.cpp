// The game-frame pacer against simulated displays: a fake clock stands in
// for the monotonic clock, Present's vsync wait and Sleep's oversleep.
#include <gtest/gtest.h>

#include <vector>

#include "app/frame_pacer.h"

namespace {

constexpr LONGLONG NS = 1000000000;  // ticks per second of the fake clock
constexpr LONGLONG MS = 1000000;

LONGLONG fakeNow = 0;
LONGLONG FakeClock() { return fakeNow; }

struct Display {
  int hz;
  bool vsync;
  LONGLONG jitterNs;   // extra random delay on render and sleep
  LONGLONG stallAtNs;  // 0 = no stall
  LONGLONG stallNs;
};

// A private generator, so the game's rand() sequence stays untouched.
uint32_t jitterState = 12345;
LONGLONG Jitter(LONGLONG range) {
  jitterState = jitterState * 1664525u + 1013904223u;
  return range ? (LONGLONG)(jitterState >> 8) % range : 0;
}

// Runs the main loop's game pass for `seconds`; returns each frame's start.
std::vector<LONGLONG> Simulate(const Display& display, int seconds) {
  FramePacer pacer;
  fakeNow = 1000 * MS;
  StartFramePacer(pacer, FakeClock, NS);
  const LONGLONG start = fakeNow, end = start + seconds * NS, period = NS / display.hz;
  bool stalled = false;
  std::vector<LONGLONG> frames;
  while (fakeNow < end) {
    if (display.stallNs && !stalled && fakeNow >= start + display.stallAtNs) {
      fakeNow += display.stallNs;
      stalled = true;
    }
    if (GameFrameDue(pacer)) {
      frames.push_back(fakeNow - start);
      fakeNow += 2 * MS + Jitter(display.jitterNs);  // update and drawing
      if (display.vsync) fakeNow = ((fakeNow - start) / period + 1) * period + start;
    } else {
      fakeNow += MillisecondsUntilDue(pacer) * MS + 50000 + Jitter(display.jitterNs);
    }
  }
  return frames;
}

int FramesIn(const std::vector<LONGLONG>& frames, LONGLONG from, LONGLONG to) {
  int n = 0;
  for (LONGLONG t : frames) n += (t >= from && t < to);
  return n;
}

// How many frames beyond a steady 60 Hz schedule ran in any stretch of
// time: a stretch of length L holds at most floor(L * 60) + 1 of them.
int MostFramesAheadOfSchedule(const std::vector<LONGLONG>& frames) {
  int most = 0;
  for (size_t i = 0; i < frames.size(); ++i)
    for (size_t j = i + 1; j < frames.size() && j < i + 400; ++j) {
      int scheduled = (int)((frames[j] - frames[i]) * 60 / NS) + 1;
      int ahead = (int)(j - i + 1) - scheduled;
      if (ahead > most) most = ahead;
    }
  return most;
}

void ExpectSixtyPerSecond(const Display& display, int seconds) {
  std::vector<LONGLONG> frames = Simulate(display, seconds);
  for (int s = 0; s < seconds; ++s) {
    LONGLONG from = s * NS, to = from + NS;
    bool touchesStall = display.stallNs && to > display.stallAtNs &&
                        from < display.stallAtNs + display.stallNs + NS;
    if (touchesStall) continue;
    int n = FramesIn(frames, from, to);
    EXPECT_GE(n, 59) << display.hz << " Hz, vsync " << display.vsync << ", second " << s;
    EXPECT_LE(n, 61) << display.hz << " Hz, vsync " << display.vsync << ", second " << s;
  }
  EXPECT_LE(MostFramesAheadOfSchedule(frames), (int)MAX_CATCH_UP_FRAMES) << display.hz << " Hz";
}

TEST(FramePacer, SixtyGameFramesPerSecondOnEveryDisplayWithAndWithoutVsync) {
  for (int hz : {60, 75, 120, 144, 165, 240}) {
    for (bool vsync : {true, false}) {
      ExpectSixtyPerSecond({hz, vsync, 0, 0, 0}, 5);
      ExpectSixtyPerSecond({hz, vsync, 3 * MS, 0, 0}, 5);
    }
  }
}

TEST(FramePacer, SixtyHertzWithVsyncShowsEachGameFrameOnItsOwnRefresh) {
  std::vector<LONGLONG> frames = Simulate({60, true, 0, 0, 0}, 3);
  ASSERT_GT(frames.size(), 170u);
  for (size_t i = 1; i < frames.size(); ++i) {
    LONGLONG gap = frames[i] - frames[i - 1];
    EXPECT_GT(gap, 15 * MS) << "frame " << i;
    EXPECT_LT(gap, 18 * MS) << "frame " << i;
  }
}

TEST(FramePacer, StallCatchesUpAtMostTwoFramesThenDropsTheLostTime) {
  for (bool vsync : {true, false}) {
    Display display = {144, vsync, 1 * MS, 2 * NS + 300 * MS, 2 * NS};
    std::vector<LONGLONG> frames = Simulate(display, 8);
    ExpectSixtyPerSecond(display, 8);
    LONGLONG resume = display.stallAtNs + display.stallNs;
    // Nothing runs inside the stall; afterwards one due frame plus at most
    // two catch-up frames, never the 120 frames the stall swallowed.
    EXPECT_EQ(FramesIn(frames, display.stallAtNs + 20 * MS, resume), 0);
    EXPECT_LE(FramesIn(frames, resume, resume + NS), 60 + 1 + (int)MAX_CATCH_UP_FRAMES);
    EXPECT_GE(FramesIn(frames, resume, resume + 50 * MS), 3);
  }
}

TEST(FramePacer, RestartMakesTheNextFrameDueAtOnceAndSleepsNeverOvershoot) {
  FramePacer pacer;
  fakeNow = 5 * NS;
  StartFramePacer(pacer, FakeClock, NS);
  EXPECT_TRUE(GameFrameDue(pacer));
  EXPECT_FALSE(GameFrameDue(pacer));
  // The next frame is 16.67 ms away: the wait is rounded down.
  EXPECT_EQ(MillisecondsUntilDue(pacer), 16u);
  fakeNow += 16 * MS;
  EXPECT_FALSE(GameFrameDue(pacer));
  EXPECT_EQ(MillisecondsUntilDue(pacer), 0u);
  fakeNow += MS;
  EXPECT_TRUE(GameFrameDue(pacer));
  // Entering the game scene again after a long time does not catch up.
  fakeNow += 30 * NS;
  RestartFramePacer(pacer);
  EXPECT_TRUE(GameFrameDue(pacer));
  EXPECT_FALSE(GameFrameDue(pacer));
}

}  // namespace
