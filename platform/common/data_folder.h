// Which folder the game reads its data from.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// True when `dir` holds any of the data folders bmp/, wav/, XFILE/, TEXT/.
bool HoldsGameData(const std::string& dir);

// The folder to change into: `requested` (--data) when given, which must be
// a directory; else `workingDir` if it holds game data; else the first of
// `fallbacks` that does. Empty with `error` set for a bad --data; empty
// without an error when nothing fits (the game then stays where it is).
std::string ChooseDataFolder(const std::string& requested, const std::string& workingDir,
                             const std::vector<std::string>& fallbacks, std::string& error);

}  // namespace corvane
