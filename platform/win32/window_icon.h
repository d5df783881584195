// The program's icon (icon resource 101 on Windows) is icon.png in the
// data folder here, or in one of the folders named as fallbacks.
#pragma once

#include <string>
#include <vector>

struct SDL_Window;

namespace corvane {

// Where to look after the working directory (the data folder).
void SetIconFolders(const std::vector<std::string>& folders);

// Sets the icon on the window; false when no icon.png was found or it
// could not be read (a damaged one is reported on stderr).
bool SetProgramIcon(SDL_Window* window);

}  // namespace corvane
