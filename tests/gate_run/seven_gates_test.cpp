// A whole first stage through the built program, driven live from its state
// dump: around the stones to the arrow gates, all seven typed, on to the next
// stage; then the same run again with the second gate left untyped.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "game/world_state.h"
#include "gate_run/live_run.h"
#include "gate_run/pilot.h"

namespace {

// What the checks need of one frame's dump.
struct FrameRecord {
  int frame = 0, scene = 0, phase = 0, gateKind = 0, gateState = 0, gateIndex = 0, itemEffect = 0;
  bool crashed = false;
  int arrows[5] = {};
  float worldZ = 0, score = 0, level = 0, approach = 0;
};

FrameRecord Record(const JsonValue& s) {
  FrameRecord r;
  r.frame = (int)s["frame"].number;
  r.scene = (int)s["scene"].number;
  r.phase = (int)s["Round"]["phase"].number;
  r.score = (float)s["Round"]["score"].number;
  r.level = (float)s["Round"]["level"].number;
  r.crashed = s["Player"]["crashed"].boolean;
  r.worldZ = (float)s["Player"]["world"][14].number;
  const JsonValue& g = s["Gate"];
  r.gateKind = (int)g["kind"].number;
  r.gateState = (int)g["state"].number;
  r.gateIndex = (int)g["index"].number;
  r.approach = (float)g["approach"].number;
  for (int i = 0; i < 5; ++i) r.arrows[i] = (int)g["arrows"][i].number;
  r.itemEffect = (int)s["Item"]["effect"].number;
  return r;
}

// Drives a started run frame by frame until `done` says so (or the run
// ends), then closes the window. `keys` answers each frame's state.
std::vector<FrameRecord> Fly(LiveRun& run, const std::function<std::string(const JsonValue&)>& keys,
                             const std::function<bool(const std::vector<FrameRecord>&)>& done) {
  std::vector<FrameRecord> frames;
  run.Send(0, "");
  JsonValue state;
  while (run.Next(state)) {
    frames.push_back(Record(state));
    EXPECT_EQ(frames.back().frame, (int)frames.size() - 1);
    if (done(frames)) {
      run.Send(frames.back().frame + 1, "close");
      break;
    }
    run.Send(frames.back().frame + 1, keys(state));
  }
  return frames;
}

int FirstFrame(const std::vector<FrameRecord>& frames, int from, const std::function<bool(const FrameRecord&)>& is) {
  for (size_t i = (size_t)std::max(from, 0); i < frames.size(); ++i)
    if (is(frames[i])) return (int)i;
  return -1;
}

// Frames at which the gate state goes from 0 (waiting) to `to`.
std::vector<int> GateChanges(const std::vector<FrameRecord>& frames, int to) {
  std::vector<int> at;
  for (size_t i = 1; i < frames.size(); ++i)
    if (frames[i].gateKind != GATE_NONE && frames[i - 1].gateState == GATE_WAITING && frames[i].gateState == to)
      at.push_back((int)i);
  return at;
}

std::string Picture(const std::string& dir, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%06d.png", frame);
  return dir + name;
}

// Mean red and green of a captured picture.
bool MeanRedGreen(const std::string& path, double& red, double& green) {
  int w = 0, h = 0;
  std::vector<unsigned char> rgba;
  if (!ReadPng(path, w, h, rgba) || w != 800 || h != 600) return false;
  red = green = 0;
  for (size_t i = 0; i < rgba.size(); i += 4) red += rgba[i], green += rgba[i + 1];
  red /= w * h, green /= w * h;
  return true;
}

// With CORVANE_RECORD_KEYS set, the flight's keys are written there as a key
// script (a line where the keys change): the timedemo plays such a script.
void RecordKeys(const std::vector<std::string>& sent) {
  const char* path = std::getenv("CORVANE_RECORD_KEYS");
  if (!path) return;
  std::ofstream out(path);
  out << "# The pilot's flight from the title through the first stage's seven gates\n"
         "# to the next stage's gates, recorded by the gate_run test.\n";
  std::string held = "?";
  for (const std::string& line : sent) {
    const std::string keys = line.substr(line.find(':') + 1);
    if (keys != held) out << line;
    held = keys;
  }
}

// The pilot's flight from the title until `done`: every frame and every key
// line sent (so a later run can replay it), and where the first event's
// start, gate clears and second gate fell.
struct PilotedFlight {
  std::vector<FrameRecord> frames;
  std::vector<std::string> sent;
  int exitCode = -1, eventStart = -1, secondGate = -1;
  std::vector<int> clears;
  std::string error;
};

PilotedFlight FlyPilot(const std::function<bool(const std::vector<FrameRecord>&)>& done) {
  PilotedFlight flight;
  LiveRun run;
  if (!run.Start({"--frames", "14000"})) {
    flight.error = run.error;
    return flight;
  }
  Pilot pilot;
  flight.frames = Fly(run, [&](const JsonValue& s) { return pilot.KeysAfter(s); }, done);
  flight.exitCode = run.Finish();
  flight.sent = run.sent;
  const std::vector<FrameRecord>& frames = flight.frames;
  flight.eventStart = FirstFrame(frames, 0, [](const FrameRecord& r) { return r.gateKind != GATE_NONE; });
  flight.clears = GateChanges(frames, GATE_CLEARED);
  if (!flight.clears.empty())
    flight.secondGate =
        FirstFrame(frames, flight.clears[0], [](const FrameRecord& r) { return r.gateState == GATE_WAITING; });
  return flight;
}

// The first test's flight, for the second to replay.
PilotedFlight& FirstFlight() {
  static PilotedFlight flight;
  return flight;
}

}  // namespace

TEST(GateRun, SevenGatesTypedFromTheDumpReachTheNextStage) {
  // Until the second event has started, with the first stage's seven gates behind.
  PilotedFlight& flight = FirstFlight();
  flight = FlyPilot([](const std::vector<FrameRecord>& f) {
    const FrameRecord& r = f.back();
    return r.crashed || (r.level == 1.5f && r.gateKind != GATE_NONE);
  });
  ASSERT_TRUE(flight.error.empty()) << flight.error;
  EXPECT_EQ(flight.exitCode, 0);
  const std::vector<FrameRecord>& frames = flight.frames;
  ASSERT_FALSE(frames.empty());
  RecordKeys(flight.sent);
  int crash = FirstFrame(frames, 0, [](const FrameRecord& r) { return r.crashed; });
  ASSERT_EQ(crash, -1) << "crashed at z " << frames[crash].worldZ << ", gate index " << frames[crash].gateIndex;

  // The frame-exact rules (the event at z 3000 and 4500, the caution's 255
  // updates, the stone stopping past 210) are pinned by the gameplay suite;
  // here the whole program flies them.
  const int start = flight.eventStart;
  ASSERT_GT(start, 2);
  EXPECT_EQ(frames[start].level, 1.0f);

  // Every typed arrow is taken (no miss pushes the stone 30 units closer),
  // and each clear pays level x 100 on top of the flight's 2/30 a frame.
  for (int i = start + 255; i < (int)frames.size(); ++i) {
    const FrameRecord &now = frames[i], &before = frames[i - 1];
    if (now.gateKind == GATE_NONE || now.gateState != GATE_WAITING) continue;
    EXPECT_LT(now.approach - before.approach, 1.0f) << "frame " << i;
  }
  const std::vector<int>& clears = flight.clears;
  ASSERT_EQ(clears.size(), (size_t)GATE_COUNT);
  for (int c : clears) {
    EXPECT_NEAR(frames[c].score - frames[c - 1].score, 100.0f + 2.0f / 30, 0.01f) << "frame " << c;
    EXPECT_EQ(frames[c].arrows[0], 5);
  }
  EXPECT_TRUE(GateChanges(frames, GATE_FAILED).empty());

  // After the seventh gate: no event, level 1.5, and later the next event.
  int next = FirstFrame(frames, clears.back(), [](const FrameRecord& r) { return r.gateKind == GATE_NONE; });
  ASSERT_GT(next, 0);
  EXPECT_EQ(frames[next].level, 1.5f);
  EXPECT_EQ(frames[next - 1].gateIndex, GATE_COUNT);
  int second = FirstFrame(frames, next, [](const FrameRecord& r) { return r.gateKind != GATE_NONE; });
  EXPECT_GT(second, next + 2);
}

// The same keys again up to the second gate, which is then left alone: the
// stone stops in the ship's path and the ship flies into it. Pictures of the
// flashes, the panel, a burst, the cleared gate, the crash and the items.
TEST(GateRun, AnUntypedGateStopsInThePathAndEndsTheRound) {
  // Run on its own (as CTest does, one process a test), it first flies the
  // pilot as far as the second gate to have a flight to replay.
  PilotedFlight& first = FirstFlight();
  if (first.secondGate < 0) {
    first = FlyPilot([](const std::vector<FrameRecord>& f) {
      const FrameRecord& r = f.back();
      return r.crashed ||
             (!GateChanges(f, GATE_CLEARED).empty() && r.gateKind != GATE_NONE && r.gateState == GATE_WAITING);
    });
    ASSERT_TRUE(first.error.empty()) << first.error;
    ASSERT_EQ(FirstFrame(first.frames, 0, [](const FrameRecord& r) { return r.crashed; }), -1);
    ASSERT_GT(first.secondGate, 0);
  }
  int start = first.eventStart, clear = first.clears[0], gate2 = first.secondGate;
  int firstPress = FirstFrame(first.frames, start + 255, [](const FrameRecord& r) { return r.arrows[4] == 5; });
  std::map<int, std::string> pictures = {{start - 10, "before the event"},
                                         {start + 40, "caution flash"},
                                         {firstPress - 1, "arrow panel"},
                                         {firstPress + 6, "arrow burst"},
                                         {clear + 10, "gate clear"}};
  std::map<int, int> effectSeen;
  for (int i = 1; i < start; ++i)
    if (first.frames[i].itemEffect && !first.frames[i - 1].itemEffect && !effectSeen.count(first.frames[i].itemEffect))
      effectSeen[first.frames[i].itemEffect] = i + 20;
  for (auto& [effect, frame] : effectSeen) pictures[frame] = "item effect " + std::to_string(effect);
  std::string captureList;
  for (auto& [frame, what] : pictures) captureList += std::to_string(frame) + ",";
  captureList += std::to_string(gate2 + 600) + "-" + std::to_string(gate2 + 660);

  LiveRun run;
  std::string captures = MakeScratchDir("gate-pictures");
  ASSERT_TRUE(run.Start({"--frames", std::to_string(gate2 + 800), "--capture", captureList, "--capture-dir",
                         captures}))
      << run.error;
  auto keys = [&](const JsonValue& s) {
    size_t next = (size_t)s["frame"].number + 1;
    if (next > (size_t)gate2 || next >= first.sent.size()) return std::string();
    const std::string& line = first.sent[next];
    return line.substr(line.find(':') + 2, line.size() - line.find(':') - 3);
  };
  auto done = [](const std::vector<FrameRecord>& f) { return f.back().crashed && f[f.size() - 21].crashed; };
  std::vector<FrameRecord> frames = Fly(run, keys, done);
  EXPECT_EQ(run.Finish(), 0);
  ASSERT_GT((int)frames.size(), gate2);
  // The replay is the same game up to the second gate.
  EXPECT_EQ(frames[clear].score, first.frames[clear].score);
  EXPECT_EQ(frames[gate2].worldZ, first.frames[gate2].worldZ);

  // The stone fails and stops; the ship reaches it in the frames it needs to
  // cover the last 40 units less the hit distance.
  std::vector<int> fails = GateChanges(frames, GATE_FAILED);
  ASSERT_EQ(fails.size(), 1u);
  int fail = fails[0];
  EXPECT_EQ(frames[fail].approach, frames[fail - 1].approach);
  int crash = FirstFrame(frames, fail, [](const FrameRecord& r) { return r.crashed; });
  ASSERT_GT(crash, fail);
  EXPECT_LE(crash - fail, 20);
  EXPECT_EQ(frames[crash].phase, PHASE_CRASHED);
  EXPECT_EQ(frames[crash].gateIndex, 1);

  std::printf("pictures in %s: failed at frame %d, crashed at %d\n", captures.c_str(), fail, crash);
  for (auto& [frame, what] : pictures) std::printf("  frame-%06d.png: %s\n", frame, what.c_str());
  for (auto& [frame, what] : pictures) {
    int w = 0, h = 0;
    std::vector<unsigned char> rgba;
    EXPECT_TRUE(ReadPng(Picture(captures, frame), w, h, rgba)) << what;
  }
  // The caution flash turns the world red: much less green than before it.
  double red0, green0, red1, green1;
  ASSERT_TRUE(MeanRedGreen(Picture(captures, start - 10), red0, green0));
  ASSERT_TRUE(MeanRedGreen(Picture(captures, start + 40), red1, green1));
  EXPECT_LT(green1 / (red1 + 1), 0.8 * green0 / (red0 + 1));
}
