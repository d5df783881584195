// Frame counting, the state dump, picture captures, the sound trace and the
// key script. Frames are counted by Present; work that belongs after a frame
// runs from the message loop, so a frame's dump includes its Enter step.
#include "internal/automation.h"

#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_map>

#include "common/automation_control.h"
#include "common/command_line.h"
#include "common/input_script.h"
#include "common/user_data_folder.h"
#include "corvane_automation.h"
#include "win32/key_state.h"
#include "win32/timer.h"
#include "win32/window_registry.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace corvane {
namespace {

int presents = 0;
int framesHandled = 0;
int scriptAppliedFor = -1;
bool quitRequested = false;

long frameLimit = -1;
FrameSet dumpFrames;
std::FILE* dumpOut = nullptr;
FrameSet captureFrames;
std::string captureDir;
bool captureErrorReported = false;
bool screenshotPending = false;
std::FILE* traceOut = nullptr;
bool scripted = false;
InputScript script;
std::string scriptName;
bool liveScript = false;
LiveScriptReader liveReader;

void (*stateWriter)(std::FILE*) = nullptr;
std::unordered_map<const void*, std::string> soundNames;

std::FILE* OpenOutput(const std::string& path, const char* what) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) std::fprintf(stderr, "corvane: cannot write the %s '%s': %s\n", what, path.c_str(), std::strerror(errno));
  return f;
}

void WriteDump(int frame) {
  std::fprintf(dumpOut, "{\"frame\":%d", frame);
  if (stateWriter) stateWriter(dumpOut);
  std::fputs("}\n", dumpOut);
  std::fflush(dumpOut);
}

// A live script is read up to this frame first, which waits for the driver.
// A malformed line ends the run through the normal shutdown, since the
// driver behind it can no longer be followed.
void ReadLiveScript(int frame) {
  std::string error;
  if (liveReader.ReadThrough(frame, script, error)) return;
  std::fprintf(stderr, "corvane: script '%s', %s; quitting\n", scriptName.c_str(), error.c_str());
  if (!quitRequested) {
    quitRequested = true;
    PostQuitMessage(0);
  }
}

// The keys of the line in force are down at the start of the frame.
void ApplyScript(int frame) {
  if (liveScript) ReadLiveScript(frame);
  const ScriptLine* line = script.LineAt(frame);
  for (int vk : SCRIPT_KEYS) {
    bool down = false;
    if (line)
      for (int held : line->keys) down = down || held == vk;
    SetVirtualKey(vk, down);
  }
  const ScriptLine* starting = script.LineStartingAt(frame);
  if (starting && starting->close) CloseAllWindows();
}

// Pipes and standard input are read live, a line at a time as the frames
// need them; a regular file is read and checked whole before the first frame.
bool LoadScript(const CommandLine& options) {
  scriptName = options.scriptFromStdin ? "-" : options.scriptFile;
  struct stat info;
  if (options.scriptFromStdin) liveScript = true;
  else if (stat(scriptName.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
    liveScript = true;
  if (liveScript) {
    liveReader.in = options.scriptFromStdin ? stdin : std::fopen(scriptName.c_str(), "r");
    if (!liveReader.in)
      std::fprintf(stderr, "corvane: cannot read the script '%s': %s\n", scriptName.c_str(), std::strerror(errno));
    return liveReader.in != nullptr;
  }
  std::ifstream in(scriptName, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "corvane: cannot read the script '%s'\n", scriptName.c_str());
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  if (!ParseInputScript(text.str(), script, error)) {
    std::fprintf(stderr, "corvane: script '%s', %s\n", scriptName.c_str(), error.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool StartAutomation(const CommandLine& options) {
  frameLimit = options.frames;
  dumpFrames = options.dumpFrames;
  captureFrames = options.captureFrames;
  captureDir = options.captureDir;
  if (options.scriptFromStdin || !options.scriptFile.empty()) {
    if (!LoadScript(options)) return false;
    scripted = true;
    SetScriptOwnsKeys(true);
    UseVirtualClock(true);
    ResetVirtualClockToZero();
  }
  if (!captureFrames.Empty() && !MakeDirectories(captureDir)) {
    std::fprintf(stderr, "corvane: cannot make the capture folder '%s': %s\n", captureDir.c_str(),
                 std::strerror(errno));
    return false;
  }
  if (!dumpFrames.Empty() && !(dumpOut = OpenOutput(options.dumpFile, "state dump"))) return false;
  if (!options.soundTraceFile.empty() && !(traceOut = OpenOutput(options.soundTraceFile, "sound trace")))
    return false;
  return true;
}

void RunAfterFrameWork() {
  while (framesHandled < presents) {
    if (dumpOut && dumpFrames.Contains(framesHandled)) WriteDump(framesHandled);
    ++framesHandled;
  }
  if (frameLimit >= 0 && presents >= frameLimit && !quitRequested) {
    quitRequested = true;
    PostQuitMessage(0);
  }
  if (scripted && scriptAppliedFor != presents) {
    scriptAppliedFor = presents;
    ApplyScript(presents);
  }
}

void OnIdlePass() {
  if (scripted) AdvanceVirtualClockOneFrame();
}

void FinishAutomation() {
  if (liveReader.in && liveReader.in != stdin) std::fclose(liveReader.in);
  liveReader.in = nullptr;
  if (dumpOut) std::fclose(dumpOut);
  if (traceOut) std::fclose(traceOut);
  dumpOut = traceOut = nullptr;
}

int CurrentFrame() { return presents; }

void NotePresent() { ++presents; }

bool WantsCapture(int frame) {
  if (TakeScreenshotRequest()) screenshotPending = true;
  return screenshotPending || (!captureFrames.Empty() && captureFrames.Contains(frame));
}

// F12: the presented picture goes to the player's own folder.
void SaveScreenshot(const unsigned char* rgba, int w, int h) {
  screenshotPending = false;
  std::string error;
  std::string path = NewScreenshotPath(error);
  if (path.empty()) std::fprintf(stderr, "corvane: screenshot not saved: %s\n", error.c_str());
  else if (!stbi_write_png(path.c_str(), w, h, 4, rgba, w * 4))
    std::fprintf(stderr, "corvane: cannot write the screenshot '%s'\n", path.c_str());
  else
    std::fprintf(stderr, "corvane: screenshot saved as %s\n", path.c_str());
}

void SaveCapture(int frame, const unsigned char* rgba, int w, int h) {
  if (screenshotPending) SaveScreenshot(rgba, w, h);
  if (captureFrames.Empty() || !captureFrames.Contains(frame)) return;
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06d.png", frame);
  std::string path = captureDir + "/" + name;
  if (!stbi_write_png(path.c_str(), w, h, 4, rgba, w * 4) && !captureErrorReported) {
    captureErrorReported = true;
    std::fprintf(stderr, "corvane: cannot write the capture '%s'\n", path.c_str());
  }
}

bool SoundTraceEnabled() { return traceOut != nullptr; }

void SoundTrace(const void* object, const char* method, const char* args) {
  if (!traceOut) return;
  auto named = soundNames.find(object);
  char address[32];
  const char* name = address;
  if (named != soundNames.end()) name = named->second.c_str();
  else std::snprintf(address, sizeof address, "%p", object);
  if (args && *args) std::fprintf(traceOut, "%d %s %s %s\n", presents, name, method, args);
  else std::fprintf(traceOut, "%d %s %s\n", presents, name, method);
  std::fflush(traceOut);
}

}  // namespace corvane

void CorvaneSetStateWriter(void (*writer)(std::FILE* out)) { corvane::stateWriter = writer; }

void CorvaneNameSoundObject(const void* iface, const char* name) {
  if (iface && name) corvane::soundNames[iface] = name;
}
