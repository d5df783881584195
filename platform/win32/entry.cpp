// The program's entry point: reads the options, moves into the data folder,
// and runs the game's WinMain as Windows would.
#include <windows.h>

#include <SDL.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/automation_control.h"
#include "common/command_line.h"
#include "common/data_folder.h"
#include "common/player_settings.h"
#include "win32/focus_pause.h"
#include "common/key_bindings.h"
#include "win32/window_icon.h"
#include "win32/window_registry.h"

namespace {

std::string WorkingDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

// Option paths are relative to where the program was started, not to the
// data folder it moves into.
void MakeAbsolute(std::string& path, const std::string& base) {
  if (!path.empty() && path[0] != '/') path = base + "/" + path;
}

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

std::string CommandLineText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  corvane::CommandLine options;
  std::string error;
  switch (corvane::ParseCommandLine(argc, argv, options, error)) {
    case corvane::CommandLineResult::Help:
      std::fputs(corvane::CommandLineUsage(), stdout);
      return 0;
    case corvane::CommandLineResult::Version:
      std::printf("corvane %s\n", CORVANE_VERSION);
      return 0;
    case corvane::CommandLineResult::Error:
      std::fprintf(stderr, "corvane: %s\nTry 'corvane --help' for the options.\n", error.c_str());
      return 2;
    case corvane::CommandLineResult::Run:
      break;
  }

  std::string startDir = WorkingDirectory();
  for (std::string* path : {&options.dataDir, &options.scriptFile, &options.dumpFile, &options.captureDir,
                            &options.soundTraceFile})
    MakeAbsolute(*path, startDir);

  const std::vector<std::string> fallbacks = {DataFolderBesideProgram(), CORVANE_BUILD_DATA_DIR,
                                               CORVANE_INSTALL_DATA_DIR};
  std::string dataDir = corvane::ChooseDataFolder(options.dataDir, startDir, fallbacks, error);
  if (!error.empty()) {
    std::fprintf(stderr, "corvane: %s\n", error.c_str());
    return 2;
  }
  if (dataDir.empty())
    std::fprintf(stderr, "corvane: no data folders (bmp/, wav/, XFILE/, TEXT/) found; use --data DIR\n");
  else if (chdir(dataDir.c_str()) != 0) {
    std::fprintf(stderr, "corvane: cannot enter the data folder '%s'\n", dataDir.c_str());
    return 2;
  }

  if (options.headless) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    corvane::SetHeadless(true);
  }
  if (!corvane::StartAutomation(options)) return 2;
  corvane::StartPlayerSettings(options);
  const corvane::Settings& settings = corvane::RunSettings();
  corvane::SetKeyBindings(settings);
  corvane::SetStartFullscreen(settings.fullscreen);
  corvane::SetRequestedScale(settings.scale);
  corvane::AllowFocusPause(!options.headless && options.scriptFile.empty() && !options.scriptFromStdin);
  corvane::SetIconFolders(fallbacks);

  std::string commandLine = CommandLineText(argc, argv);
  static int instance;
  int exitCode = WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine.data(), SW_SHOWNORMAL);

  // WinMain answers 0 both after a full run and when it gave up at start-up
  // (having said why); only a run that reached its quit message succeeded.
  if (!corvane::QuitMessageFetched()) exitCode = EXIT_FAILURE;
  if (!corvane::FinishAutomation() && exitCode == 0) exitCode = EXIT_FAILURE;
  corvane::DestroyAllSdlWindows();
  SDL_Quit();
  return exitCode;
}
