// The Windows build's entry point: reads the options and the player's
// settings as the Linux build does, moves into the data folder, and runs the
// game's WinMain.
#define CORVANE_ROUTING_CALLS
#include "windows/redirected_calls.h"

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/automation_control.h"
#include "common/command_line.h"
#include "common/data_folder.h"
#include "common/key_bindings.h"
#include "common/player_settings.h"
#include "windows/sound_levels.h"

namespace {

std::string Utf8(const wchar_t* text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return "";
  std::string out((size_t)bytes - 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  int chars = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (chars <= 1) return L"";
  std::wstring out((size_t)chars - 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), chars);
  return out;
}

// The arguments in UTF-8, whatever the system's code page.
std::vector<std::string> Arguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return args;
}

// A program of the GUI subsystem has no console of its own: print to the
// one it was started from, if any.
void ReachParentConsole() {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err != nullptr && err != INVALID_HANDLE_VALUE) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  std::freopen("CONOUT$", "w", stdout);
  std::freopen("CONOUT$", "w", stderr);
}

bool IsAbsolute(const std::string& path) {
  return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

void MakeAbsolute(std::string& path, const std::string& base) {
  if (!path.empty() && !IsAbsolute(path)) path = base + "\\" + path;
}

std::string WorkingDirectory() {
  wchar_t buffer[MAX_PATH];
  DWORD n = GetCurrentDirectoryW(MAX_PATH, buffer);
  return n > 0 && n < MAX_PATH ? Utf8(buffer) : std::string(".");
}

std::string ProgramFolder() {
  wchar_t buffer[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return "";
  std::string exe = Utf8(buffer);
  size_t slash = exe.find_last_of("\\/");
  return slash == std::string::npos ? "" : exe.substr(0, slash);
}

// 0 to run the game, else the exit code.
int PrepareRun(corvane::CommandLine& options) {
  std::vector<std::string> args = Arguments();
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  std::string error;
  switch (corvane::ParseCommandLine((int)argv.size(), argv.data(), options, error)) {
    case corvane::CommandLineResult::Help: std::fputs(corvane::CommandLineUsage(), stdout); return -1;
    case corvane::CommandLineResult::Version: std::printf("corvane %s\n", CORVANE_VERSION); return -1;
    case corvane::CommandLineResult::Error:
      std::fprintf(stderr, "corvane: %s\nTry 'corvane --help' for the options.\n", error.c_str());
      return 2;
    case corvane::CommandLineResult::Run: break;
  }
  if (options.headless || options.scale != 0 || options.fullscreen)
    std::fprintf(stderr, "corvane: --headless, --fullscreen and --scale belong to the Linux build; ignored\n");
  std::string startDir = WorkingDirectory();
  for (std::string* path : {&options.dataDir, &options.scriptFile, &options.dumpFile, &options.captureDir,
                            &options.soundTraceFile})
    MakeAbsolute(*path, startDir);
  // Beside the program, or in its build tree's data folder.
  std::string programDir = ProgramFolder();
  std::vector<std::string> fallbacks;
  if (!programDir.empty()) fallbacks = {programDir, programDir + "\\data"};
  std::string dataDir = corvane::ChooseDataFolder(options.dataDir, startDir, fallbacks, error);
  if (!error.empty()) {
    std::fprintf(stderr, "corvane: %s\n", error.c_str());
    return 2;
  }
  if (dataDir.empty())
    std::fprintf(stderr, "corvane: no data folders (bmp/, wav/, XFILE/, TEXT/) found; use --data DIR\n");
  else if (!SetCurrentDirectoryW(Wide(dataDir).c_str())) {
    std::fprintf(stderr, "corvane: cannot enter the data folder '%s'\n", dataDir.c_str());
    return 2;
  }
  if (!corvane::StartAutomation(options)) return 2;
  // Fullscreen and scale are the Linux build's: this one keeps the game's window.
  corvane::StartPlayerSettings(options);
  corvane::SetKeyBindings(corvane::RunSettings());
  corvane::StartSoundLevels();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  ReachParentConsole();
  corvane::CommandLine options;
  int early = PrepareRun(options);
  if (early != 0) return early < 0 ? 0 : early;
  int exitCode = CorvaneGameWinMain(instance, previous, commandLine, showCommand);
  corvane::FinishAutomation();
  return exitCode;
}
