// Two builds of the game on one script, compared: their state dumps field by
// field (integers exactly, floats within a few units in the last place) and
// their sound traces line by line.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/corvane_run.h"
#include "support/json_value.h"

// Fields are named by their members' path without indices ("Camera.screenPoint").
struct DumpComparison {
  explicit DumpComparison(int floatUlps) : floatUlps(floatUlps) {}
  int floatUlps;
  std::vector<std::string> faults;             // beyond the tolerance (the first few): where, both values
  std::map<std::string, int64_t> floatsApart;  // per field: the most ULPs apart within the tolerance
};

// Adds what differs between two dump lines (`where` names the line).
void CompareDumpLines(const JsonValue& ours, const JsonValue& theirs, const std::string& where,
                      DumpComparison& result);

// A sound trace line with an unnamed sound object's address ("0x55d0…",
// "00000000003A…") replaced by "unnamed": no two programs share addresses.
std::string WithoutAddress(const std::string& traceLine);

// The native run another build is compared with: `script` for `frames`
// frames, every frame dumped, `captureFrames` captured, the sound traced.
CorvaneRunOptions ComparedRunOptions(const std::string& script, long frames, const std::string& captureFrames);

// Test failures where two runs' dumps (frame by frame, floats within
// floatUlps) or sound traces differ; prints how far apart each float field
// came.
void ExpectSameDumpsAndSounds(const CorvaneRun& ours, const CorvaneRun& theirs, int floatUlps);

// A test failure at the first line where two runs' sound traces differ.
void ExpectSameSoundTraces(const CorvaneRun& ours, const CorvaneRun& theirs);
