#include "support/dump_comparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>

namespace {

constexpr size_t kMaxFaults = 10;

// Distance in representable 32-bit floats (the dump writes floats as such).
int64_t UlpsApart(double a, double b) {
  auto key = [](float f) {
    int32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits < 0 ? (int64_t)INT32_MIN - bits : (int64_t)bits;
  };
  return std::llabs(key((float)a) - key((float)b));
}

void Compare(const JsonValue& ours, const JsonValue& theirs, const std::string& field, const std::string& path,
             DumpComparison& result) {
  if (result.faults.size() >= kMaxFaults) return;
  if (ours.kind != theirs.kind) {
    result.faults.push_back(path + ": different kinds");
    return;
  }
  if (ours.kind == JsonValue::Number) {
    if (ours.number == theirs.number || (std::isnan(ours.number) && std::isnan(theirs.number))) return;
    const bool integers = std::floor(ours.number) == ours.number && std::floor(theirs.number) == theirs.number;
    const int64_t ulps = UlpsApart(ours.number, theirs.number);
    if (integers || ulps > result.floatUlps) {
      result.faults.push_back(path + ": " + std::to_string(ours.number) + " against " +
                              std::to_string(theirs.number));
    } else {
      int64_t& most = result.floatsApart[field];
      most = std::max(most, ulps);
    }
  } else if (ours.kind == JsonValue::Array) {
    if (ours.items.size() != theirs.items.size()) result.faults.push_back(path + ": different lengths");
    for (size_t i = 0; i < ours.items.size() && i < theirs.items.size(); ++i)
      Compare(ours.items[i], theirs.items[i], field, path + "[" + std::to_string(i) + "]", result);
  } else if (ours.kind == JsonValue::Object) {
    for (const auto& [name, value] : ours.members) {
      const std::string member = field.empty() ? name : field + "." + name;
      if (!theirs.Has(name)) result.faults.push_back(path + "." + name + ": missing");
      else Compare(value, theirs[name], member, path + "." + name, result);
    }
    if (ours.members.size() != theirs.members.size()) result.faults.push_back(path + ": different members");
  } else if (ours.boolean != theirs.boolean || ours.text != theirs.text) {
    result.faults.push_back(path + ": differs");
  }
}

}  // namespace

void CompareDumpLines(const JsonValue& ours, const JsonValue& theirs, const std::string& where,
                      DumpComparison& result) {
  Compare(ours, theirs, "", where, result);
}

std::string WithoutAddress(const std::string& traceLine) {
  static const std::regex address("^(\\d+) (0x[0-9A-Fa-f]+|[0-9A-Fa-f]{8,16}) ");
  return std::regex_replace(traceLine, address, "$1 unnamed ");
}

CorvaneRunOptions ComparedRunOptions(const std::string& script, long frames, const std::string& captureFrames) {
  CorvaneRunOptions options;
  options.script = script;
  options.frames = frames;
  options.dumpFrames = "all";
  options.captureFrames = captureFrames;
  options.soundTrace = true;
  return options;
}

void ExpectSameDumpsAndSounds(const CorvaneRun& ours, const CorvaneRun& theirs, int floatUlps) {
  ASSERT_EQ(theirs.dump.size(), ours.dump.size());
  DumpComparison dumps(floatUlps);
  for (size_t i = 0; i < ours.dump.size(); ++i)
    CompareDumpLines(ours.dump[i], theirs.dump[i], "frame " + std::to_string(i), dumps);
  EXPECT_TRUE(dumps.faults.empty()) << dumps.faults.front() << " (and " << dumps.faults.size() - 1 << " more)";
  for (const auto& [field, ulps] : dumps.floatsApart)
    std::printf("dump field %s: floats up to %lld ULPs apart\n", field.c_str(), (long long)ulps);
  ExpectSameSoundTraces(ours, theirs);
}

void ExpectSameSoundTraces(const CorvaneRun& ours, const CorvaneRun& theirs) {
  ASSERT_EQ(theirs.soundTrace.size(), ours.soundTrace.size());
  for (size_t i = 0; i < ours.soundTrace.size(); ++i)
    ASSERT_EQ(WithoutAddress(theirs.soundTrace[i]), WithoutAddress(ours.soundTrace[i])) << "trace line " << i + 1;
}
