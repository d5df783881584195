// Two builds of the game on one script, compared: their state dumps field by
// field (integers exactly, floats within a few units in the last place) and
// their sound traces line by line.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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
