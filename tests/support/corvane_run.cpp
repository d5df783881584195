// Runs the built program as a child process and collects what it wrote.
#include "support/corvane_run.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

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

std::string CorvaneBinary() { return std::string(CORVANE_BINARY_DIR) + "/corvane"; }

std::string MakeScratchDir(const std::string& label) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/corvane-" + label + "-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const char* made = mkdtemp(buffer.data());
  return made ? std::string(made) : std::string();
}

std::string MakeScratchDataDir() {
  std::string dir = MakeScratchDir("data");
  std::string built = std::string(CORVANE_BINARY_DIR) + "/data";
  for (const char* sub : {"bmp", "wav", "XFILE"})
    if (IsDirectory(built + "/" + sub)) symlink((built + "/" + sub).c_str(), (dir + "/" + sub).c_str());
  mkdir((dir + "/TEXT").c_str(), 0777);
  std::string ranking = ReadWholeFile(built + "/TEXT/ranking.txt");
  if (!ranking.empty()) std::ofstream(dir + "/TEXT/ranking.txt", std::ios::binary) << ranking;
  return dir;
}

CorvaneRun RunCorvane(const CorvaneRunOptions& options) {
  CorvaneRun run;
  run.workDir = MakeScratchDir("run");
  run.dataDir = options.dataDir.empty() ? MakeScratchDataDir() : options.dataDir;

  std::vector<std::string> args = {CorvaneBinary(), "--data", run.dataDir};
  if (options.headless) args.push_back("--headless");
  if (!options.script.empty()) {
    std::ofstream(run.workDir + "/keys.script") << options.script;
    args.insert(args.end(), {"--script", run.workDir + "/keys.script"});
  }
  if (options.frames >= 0) args.insert(args.end(), {"--frames", std::to_string(options.frames)});
  if (!options.dumpFrames.empty())
    args.insert(args.end(), {"--dump", options.dumpFrames, "--dump-file", run.workDir + "/dump.jsonl"});
  if (!options.captureFrames.empty())
    args.insert(args.end(), {"--capture", options.captureFrames, "--capture-dir", run.workDir + "/captures"});
  if (options.soundTrace) args.insert(args.end(), {"--sound-trace", run.workDir + "/sound.trace"});
  args.insert(args.end(), options.extraArgs.begin(), options.extraArgs.end());

  std::string outPath = run.workDir + "/stdout.txt", errPath = run.workDir + "/stderr.txt";
  pid_t child = fork();
  if (child == 0) {
    if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) _exit(127);
    chdir(run.workDir.c_str());
    for (const std::string& entry : options.environment) {
      size_t equals = entry.find('=');
      if (equals == std::string::npos) unsetenv(entry.c_str());
      else setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
    alarm((unsigned)options.timeoutSeconds);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);

  run.stdoutText = ReadWholeFile(outPath);
  run.stderrText = ReadWholeFile(errPath);
  for (const auto& line : Lines(ReadWholeFile(run.workDir + "/dump.jsonl"))) {
    run.dump.emplace_back();
    if (!ParseJson(line, run.dump.back())) run.dump.back() = JsonValue{};
  }
  run.soundTrace = Lines(ReadWholeFile(run.workDir + "/sound.trace"));
  return run;
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
