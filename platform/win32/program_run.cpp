// The program's run, shared by the flavours' entry points: reads the
// options, moves into the data folder, and runs the game's WinMain as
// Windows would.
#include "win32/program_run.h"

#include <windows.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "common/automation_control.h"
#include "common/command_line.h"
#include "common/data_folder.h"
#include "common/key_bindings.h"
#include "common/startup_work.h"
#include "common/player_settings.h"
#include "win32/focus_pause.h"
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

std::string CommandLineText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace

namespace corvane {

int RunProgram(int argc, char** argv, const ProgramFlavour& flavour) {
  CommandLine options;
  std::string error;
  switch (ParseCommandLine(argc, argv, options, error)) {
    case CommandLineResult::Help: std::fputs(CommandLineUsage(), stdout); return 0;
    case CommandLineResult::Version: std::printf("corvane %s\n", CORVANE_VERSION); return 0;
    case CommandLineResult::Error:
      std::fprintf(stderr, "corvane: %s\nTry 'corvane --help' for the options.\n", error.c_str());
      return 2;
    case CommandLineResult::Run: break;
  }

  std::string startDir = WorkingDirectory();
  for (std::string* path :
       {&options.dataDir, &options.scriptFile, &options.dumpFile, &options.captureDir, &options.soundTraceFile})
    MakeAbsolute(*path, startDir);

  std::string dataDir = ChooseDataFolder(options.dataDir, startDir, flavour.dataFallbacks, error);
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
    if (flavour.startHeadless) flavour.startHeadless();
    SetHeadless(true);
  }
  if (!StartAutomation(options)) return 2;
  StartPlayerSettings(options);
  const Settings& settings = RunSettings();
  SetKeyBindings(settings);
  SetStartFullscreen(settings.fullscreen);
  SetRequestedScale(settings.scale);
  AllowFocusPause(!options.headless && options.scriptFile.empty() && !options.scriptFromStdin);

  std::string commandLine = CommandLineText(argc, argv);
  static int instance;
  if (!dataDir.empty() && flavour.startReadAhead) flavour.startReadAhead();
  int exitCode = WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine.data(), SW_SHOWNORMAL);
  EndStartup();  // when start-up gave up before its first frame

  // WinMain answers 0 both after a full run and when it gave up at start-up
  // (having said why); only a run that reached its quit message succeeded.
  if (!QuitMessageFetched()) exitCode = EXIT_FAILURE;
  if (!FinishAutomation() && exitCode == 0) exitCode = EXIT_FAILURE;
  return exitCode;
}

}  // namespace corvane
