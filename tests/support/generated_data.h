// The generator's output for these tests: the built assetgen run twice, side
// by side, into two folders of the build tree. Each test case runs as its own
// process, so the folders are kept and reused for as long as the generator
// binary is the same one.
#pragma once

#include <filesystem>
#include <string>

#include "support/files.h"

struct GeneratedData {
  std::filesystem::path first, second;  // empty when the generator could not run
  std::string problem;                  // why, for the failure message
};

const GeneratedData& Generated();
