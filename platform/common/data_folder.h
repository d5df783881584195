// Which folder the game reads its data from.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// The game's data folders: bmp, wav, XFILE, TEXT.
const std::vector<std::string>& GameDataFolders();

// True when `dir` holds any of the game's data folders.
bool HoldsGameData(const std::string& dir);

// The folder to change into: `requested` (--data) when given, which must be
// a directory; else `workingDir` if it holds game data; else the first of
// `fallbacks` that does. Empty with `error` set for a bad --data; empty
// without an error when nothing fits (the game then stays where it is).
std::string ChooseDataFolder(const std::string& requested, const std::string& workingDir,
                             const std::vector<std::string>& fallbacks, std::string& error);

}  // namespace corvane
