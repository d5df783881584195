// The native entry point: the program's run (program_run.h) on SDL, with
// the data folder beside an installed program among the fallbacks, and the
// pictures read ahead while the window opens. Built into the program itself,
// above every platform family it starts.
#include <SDL.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "d3dx9/picture_prefetch.h"
#include "win32/program_run.h"
#include "win32/window_icon.h"
#include "win32/window_registry.h"

namespace {

// The installed data folder beside the program (bin/../share/corvane), so
// that an installed copy finds its data wherever it was installed.
std::string DataFolderBesideProgram() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  std::string exe(buffer, (size_t)n);
  size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return "";
  return exe.substr(0, slash) + "/" CORVANE_DATA_FROM_BINARY;
}

void StartHeadlessVideo() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> fallbacks = {DataFolderBesideProgram(), CORVANE_BUILD_DATA_DIR,
                                              CORVANE_INSTALL_DATA_DIR};
  corvane::SetIconFolders(fallbacks);
  const int exitCode = corvane::RunProgram(argc, argv, {fallbacks, StartHeadlessVideo, corvane::d3dx9::StartPicturePrefetch});
  corvane::DestroyAllSdlWindows();
  SDL_Quit();
  return exitCode;
}
