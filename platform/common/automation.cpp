// Frame counting, the state dump, picture captures, the sound trace and the
// key script. Frames are counted by Present; work that belongs after a frame
// runs from the message loop, so a frame's dump includes its Enter step.
#include "internal/automation.h"

#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/automation_control.h"
#include "common/comfort_keys.h"
#include "common/comfort_note.h"
#include "common/command_line.h"
#include "common/input_script.h"
#include "common/key_bindings.h"
#include "common/note_layout.h"
#include "common/user_data_folder.h"
#include "common/virtual_clock.h"
#include "corvane_automation.h"
#include "win32/key_state.h"
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
// An output file of the automation options. A write that fails (a full
// disk, a closed pipe) is said once, closes the output and makes the exit
// status say so; the game itself plays on.
struct Output {
  explicit Output(const char* what) : what(what) {}
  const char* what;
  std::string path;
  std::FILE* file = nullptr;
};

FrameSet dumpFrames;
Output dumpOut("state dump");
FrameSet captureFrames;
std::string captureDir;
bool captureNote = false;
bool captureFailed = false;
bool screenshotPending = false;
Output traceOut("sound trace");
bool outputFailed = false;
bool scripted = false;
InputScript script;
std::string scriptName;
bool liveScript = false;
LiveScriptReader liveReader;

void (*stateWriter)(std::FILE*) = nullptr;
void (*soundNamed)(const void*) = nullptr;
std::unordered_map<const void*, std::string> soundNames;

void SayCannotWrite(const char* what, const std::string& path, int error) {
  std::fprintf(stderr, "corvane: cannot write the %s '%s': %s\n", what, path.c_str(), std::strerror(error));
  outputFailed = true;
}

bool OpenOutput(Output& out, const std::string& path) {
  out.path = path;
  out.file = std::fopen(path.c_str(), "wb");  // the same bytes on every system
  if (!out.file) SayCannotWrite(out.what, path, errno);
  return out.file != nullptr;
}

// Flushes what was just written; false (said once) when it did not get there.
bool FlushOutput(Output& out) {
  if (std::fflush(out.file) == 0 && !std::ferror(out.file)) return true;
  SayCannotWrite(out.what, out.path, errno);
  std::fclose(out.file);
  out.file = nullptr;
  return false;
}

void CloseOutput(Output& out) {
  if (!out.file) return;
  errno = 0;
  bool written = !std::ferror(out.file);
  if (std::fclose(out.file) != 0 || !written) SayCannotWrite(out.what, out.path, errno ? errno : EIO);
  out.file = nullptr;
}

void WriteDump(int frame) {
  std::fprintf(dumpOut.file, "{\"frame\":%d", frame);
  if (stateWriter) stateWriter(dumpOut.file);
  std::fputs("}\n", dumpOut.file);
  FlushOutput(dumpOut);
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

// A comfort key counts as pressed on the frame whose line first holds it,
// as a real key press does.
void PressScriptComforts(const ScriptLine& starting, const ScriptLine* before) {
  for (int code : starting.keyboardKeys) {
    int comfort = ComfortFromKeyCode(code);
    bool held = before && std::find(before->keyboardKeys.begin(), before->keyboardKeys.end(), code) !=
                              before->keyboardKeys.end();
    if (comfort >= 0 && !held) RequestComfort(comfort);
  }
}

// The keys of the line in force are down at the start of the frame.
void ApplyScript(int frame) {
  if (liveScript) ReadLiveScript(frame);
  const ScriptLine* line = script.LineAt(frame);
  std::vector<int> held;
  if (line) {
    held = line->keys;
    for (int code : line->keyboardKeys) held.push_back(GameKeyFromKeyCode(code));
  }
  for (int vk : SCRIPT_KEYS) SetVirtualKey(vk, std::find(held.begin(), held.end(), vk) != held.end());
  const ScriptLine* starting = script.LineStartingAt(frame);
  if (starting) PressScriptComforts(*starting, script.LineAt(frame - 1));
  if (starting && starting->close) CloseAllWindows();
}

// Pipes and standard input are read live, a line at a time as the frames
// need them; a regular file is read and checked whole before the first frame.
bool LoadScript(const CommandLine& options) {
  scriptName = options.scriptFromStdin ? "-" : options.scriptFile;
  struct stat info;
  bool regular = false;
  if (!options.scriptFromStdin && stat(scriptName.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      std::fprintf(stderr, "corvane: the script '%s' is a folder, not a file\n", scriptName.c_str());
      return false;
    }
    regular = S_ISREG(info.st_mode);
  }
  liveScript = !regular;
  liveReader.in = options.scriptFromStdin ? stdin : std::fopen(scriptName.c_str(), "r");
  if (!liveReader.in) {
    std::fprintf(stderr, "corvane: cannot read the script '%s': %s\n", scriptName.c_str(), std::strerror(errno));
    return false;
  }
  if (liveScript) return true;
  std::string error;
  bool read = liveReader.ReadThrough(INT_MAX, script, error);
  std::fclose(liveReader.in);
  liveReader.in = nullptr;
  if (!read) std::fprintf(stderr, "corvane: script '%s', %s\n", scriptName.c_str(), error.c_str());
  return read;
}

}  // namespace

bool StartAutomation(const CommandLine& options) {
  frameLimit = options.frames;
  dumpFrames = options.dumpFrames;
  captureFrames = options.captureFrames;
  captureDir = options.captureDir;
  captureNote = options.captureNote;
  if (options.scriptFromStdin || !options.scriptFile.empty()) {
    if (!LoadScript(options)) return false;
    scripted = true;
    SetScriptOwnsKeys(true);
    UseVirtualClock(true);
    ResetVirtualClockToZero();
  }
  std::error_code failure;
  if (!captureFrames.Empty()) std::filesystem::create_directories(captureDir, failure);
  if (failure) {
    std::fprintf(stderr, "corvane: cannot make the capture folder '%s': %s\n", captureDir.c_str(),
                 failure.message().c_str());
    return false;
  }
  if (!dumpFrames.Empty() && !OpenOutput(dumpOut, options.dumpFile)) return false;
  if (!options.soundTraceFile.empty() && !OpenOutput(traceOut, options.soundTraceFile)) return false;
  return true;
}

void RunAfterFrameWork() {
  while (framesHandled < presents) {
    if (dumpOut.file && dumpFrames.Contains(framesHandled)) WriteDump(framesHandled);
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

bool FinishAutomation() {
  if (liveReader.in && liveReader.in != stdin) std::fclose(liveReader.in);
  liveReader.in = nullptr;
  CloseOutput(dumpOut);
  CloseOutput(traceOut);
  return !outputFailed;
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
  std::vector<unsigned char> withNote;
  if (captureNote && ComfortNoteText()) {
    withNote.assign(rgba, rgba + (size_t)w * h * 4);
    PaintNote(ComfortNoteText(), withNote.data(), w, h);
    rgba = withNote.data();
  }
  errno = 0;
  if (!stbi_write_png(path.c_str(), w, h, 4, rgba, w * 4) && !captureFailed) {
    captureFailed = true;
    SayCannotWrite("capture", path, errno ? errno : EIO);
  }
}

bool SoundTraceEnabled() { return traceOut.file != nullptr; }

void SetSoundNamedListener(void (*named)(const void* object)) { soundNamed = named; }

const char* SoundObjectName(const void* object) {
  auto named = soundNames.find(object);
  return named == soundNames.end() ? nullptr : named->second.c_str();
}

void SoundTrace(const void* object, const char* method, const char* args) {
  if (!traceOut.file) return;
  auto named = soundNames.find(object);
  char address[32];
  const char* name = address;
  if (named != soundNames.end()) name = named->second.c_str();
  else std::snprintf(address, sizeof address, "%p", object);
  if (args && *args) std::fprintf(traceOut.file, "%d %s %s %s\n", presents, name, method, args);
  else std::fprintf(traceOut.file, "%d %s %s\n", presents, name, method);
  FlushOutput(traceOut);
}

}  // namespace corvane

void CorvaneSetStateWriter(void (*writer)(std::FILE* out)) { corvane::stateWriter = writer; }

void CorvaneNameSoundObject(const void* iface, const char* name) {
  if (!iface || !name) return;
  corvane::soundNames[iface] = name;
  if (corvane::soundNamed) corvane::soundNamed(iface);
}
