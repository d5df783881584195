// File names as a Windows program writes them ("bmp\\Foo.BMP") resolved
// against a case-sensitive file system with '/' separators.
#pragma once

#include <string>

namespace corvane {

// Returns the path of the existing file or directory that `path` names on
// Windows: the path itself if it exists, else with '\\' read as '/', else
// matched component by component ignoring ASCII case. Empty if none exists.
std::string ResolvePath(const std::string& path);

// Opens `path` (already resolved) for reading when it is a regular file;
// never blocks on a FIFO or device. Returns the descriptor, or -1 with errno
// EISDIR for a folder, ENODEV for any other kind of file, or open's error.
int OpenRegularFile(const std::string& path);

// Why OpenRegularFile failed, in a few words, from its errno.
std::string OpenFailureReason(int error);

// The whole of the regular file `path` (already resolved), at most
// `maxBytes` long. On failure *why says why in a few words; errno is
// OpenRegularFile's when the file could not be opened, else 0.
bool ReadRegularFile(const std::string& path, size_t maxBytes, std::string* bytes, std::string* why);

// The reason an asset load failed, for the game's one message about the file
// (see corvane_load_error.h). The loaders set it; empty when nothing failed.
void SetLoadError(const std::string& why);

}  // namespace corvane
