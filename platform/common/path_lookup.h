// File names as a Windows program writes them ("bmp\\Foo.BMP") resolved
// against a case-sensitive file system with '/' separators.
#pragma once

#include <string>

namespace corvane {

// Returns the path of the existing file or directory that `path` names on
// Windows: the path itself if it exists, else with '\\' read as '/', else
// matched component by component ignoring ASCII case. Empty if none exists.
std::string ResolvePath(const std::string& path);

}  // namespace corvane
