#include "support/corvane_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "support/child_process.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) lines.push_back(line);
  return lines;
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

const JsonValue& CorvaneRun::At(int frame) const {
  for (const JsonValue& line : dump)
    if (line["frame"].number == frame) return line;
  ADD_FAILURE() << "no dump of frame " << frame;
  return JsonValue::Missing();
}

std::vector<int> CorvaneRun::Calls(const std::string& slot, const std::string& method,
                                   const std::string& args) const {
  std::vector<int> frames;
  for (const TraceLine& l : trace)
    if ((slot.empty() || l.slot == slot) && l.method == method && (args.empty() || l.args == args))
      frames.push_back(l.frame);
  return frames;
}

std::string CorvaneBinary() { return std::string(CORVANE_BINARY_DIR) + "/corvane"; }

std::string MakeScratchDataDir() {
  std::string dir = MakeScratchDir("data");
  std::string built = std::string(CORVANE_BINARY_DIR) + "/data";
  for (const char* sub : {"bmp", "wav", "XFILE"})
    if (IsDirectory(built + "/" + sub)) symlink((built + "/" + sub).c_str(), (dir + "/" + sub).c_str());
  mkdir((dir + "/TEXT").c_str(), 0777);
  std::string ranking = ReadText(built + "/TEXT/ranking.txt");
  if (!ranking.empty()) WriteText(dir + "/TEXT/ranking.txt", ranking);
  return dir;
}

CorvaneRun RunCorvane(const CorvaneRunOptions& options) {
  CorvaneRun run;
  run.workDir = MakeScratchDir("run");
  run.dataDir = options.dataDir.empty() ? MakeScratchDataDir() : options.dataDir;
  if (options.prepareData) options.prepareData(run.dataDir);

  std::vector<std::string> args = {CorvaneBinary(), "--data", run.dataDir};
  if (options.headless) args.push_back("--headless");
  if (!options.script.empty()) {
    WriteText(run.workDir + "/keys.script", options.script);
    args.insert(args.end(), {"--script", run.workDir + "/keys.script"});
  }
  if (options.frames >= 0) args.insert(args.end(), {"--frames", std::to_string(options.frames)});
  if (!options.dumpFrames.empty())
    args.insert(args.end(), {"--dump", options.dumpFrames, "--dump-file", run.workDir + "/dump.jsonl"});
  if (!options.captureFrames.empty())
    args.insert(args.end(), {"--capture", options.captureFrames, "--capture-dir", run.workDir + "/captures"});
  if (options.soundTrace) args.insert(args.end(), {"--sound-trace", run.workDir + "/sound.trace"});
  args.insert(args.end(), options.extraArgs.begin(), options.extraArgs.end());

  ChildSetup setup;
  setup.workDir = run.workDir;
  setup.outFile = run.workDir + "/stdout.txt";
  setup.errFile = run.workDir + "/stderr.txt";
  for (const std::string& entry : options.environment) {
    size_t equals = entry.find('=');
    setup.env[entry.substr(0, equals)] = equals == std::string::npos ? "" : entry.substr(equals + 1);
  }
  setup.timeLimit = (unsigned)options.timeoutSeconds;
  run.exitCode = RunChild(args, setup);

  run.stdoutText = ReadText(setup.outFile);
  run.stderrText = ReadText(setup.errFile);
  ReadRunFiles(run);
  return run;
}

void ReadRunFiles(CorvaneRun& run) {
  run.dump = ReadDump(run.workDir + "/dump.jsonl");
  for (const std::string& line : Lines(ReadText(run.workDir + "/sound.trace"))) {
    std::istringstream fields(line);
    TraceLine entry;
    fields >> entry.frame >> entry.slot >> entry.method >> std::ws;
    std::getline(fields, entry.args);
    run.trace.push_back(entry);
    run.soundTrace.push_back(line);
  }
}

std::vector<JsonValue> ReadDump(const std::string& path) {
  std::vector<JsonValue> dump;
  const std::string text = ReadText(path);
  bool parsed = true;
  for (const std::string& line : Lines(text)) {
    parsed = ParseJson(line, dump.emplace_back());
    if (!parsed) dump.back() = JsonValue{};
  }
  if (!parsed && !text.empty() && text.back() != '\n') dump.pop_back();
  return dump;
}

std::string CapturePath(const CorvaneRun& run, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06d.png", frame);
  return run.workDir + "/captures/" + name;
}

bool ReadPng(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgba) {
  int channels = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (!pixels) return false;
  rgba.assign(pixels, pixels + (size_t)width * height * 4);
  stbi_image_free(pixels);
  return true;
}
