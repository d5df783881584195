// Reads an INI file entry by entry with the system's kept INI reader: inih
// on Linux, the Windows API's profile functions on Windows.
#pragma once

#include <functional>
#include <string>

namespace corvane {

// One entry (value trimmed); returns what is wrong with it, or "".
using IniEntry = std::function<std::string(const std::string& section, const std::string& name,
                                           const std::string& value)>;

// Hands every entry of the file at `path` to `entry`. False at the first
// problem, with `error` saying where ("line N: ..." when the reader counts
// lines) and why: an entry `entry` refused, or a line that is neither a
// [section] nor name = value.
bool ReadIniFile(const std::string& path, const IniEntry& entry, std::string& error);

}  // namespace corvane
