// The generator's output for these tests: the built assetgen is run twice,
// side by side, into scratch folders once per test program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct GeneratedData {
  std::filesystem::path first, second;  // empty when the generator could not run
  std::string problem;                  // why, for the failure message
};

const GeneratedData& Generated();

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file);
