// Reads an INI file entry by entry with the system's kept INI reader: inih
// on Linux, the Windows API's profile functions on Windows.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
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

// The file at `path` open for reading, closed when dropped: what each reader
// starts with. Null, with the system's reason in `error`, when it cannot be
// opened.
using IniFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
inline IniFile OpenIniFile(const std::string& path, std::string& error) {
  IniFile file(std::fopen(path.c_str(), "r"), &std::fclose);
  if (!file) error = std::strerror(errno);
  return file;
}

}  // namespace corvane
