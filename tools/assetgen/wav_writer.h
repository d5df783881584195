// Writes RIFF WAVE files: PCM, 16-bit, 44100 Hz, mono or interleaved stereo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Converts float samples (-1..1, interleaved) to 16-bit with rounding and
// clamping. Returns the bytes of a complete file.
std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int channels);

// Writes the file, creating its folder; false (with a message on stderr) when
// the file cannot be written.
bool WriteWav(const std::string& path, const std::vector<float>& samples, int channels);
