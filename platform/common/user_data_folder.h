// The player's own data folder: "corvane" in the application data folder
// SHGetFolderPathA names ($XDG_DATA_HOME, else ~/.local/share), as the game
// uses it for its scores. Screenshots always go there.
#pragma once

#include <string>

namespace corvane {

// Empty when neither XDG_DATA_HOME nor HOME names a folder.
std::string UserDataFolder();

// A screenshot path in the user's folder that names no existing file:
// screenshots/corvane-YYYYMMDD-HHMMSS.png, with -2, -3... on a clash.
// Makes the folder; empty (with `error`) when it cannot.
std::string NewScreenshotPath(std::string& error);

}  // namespace corvane
