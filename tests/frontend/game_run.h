// Runs the real program headless on a key script in a scratch data folder
// (the generated assets linked in, a TEXT folder of its own) and collects
// its state dumps, sound trace, captures and exit code.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

struct TraceLine {
  int frame;
  std::string slot, method, args;
};

inline std::string ReadText(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// A number after "key": in a JSON line, searched from `record`'s object when given.
inline double JsonNumber(const std::string& json, const std::string& key, const std::string& record = "") {
  size_t at = record.empty() ? 0 : json.find("\"" + record + "\":{");
  at = at == std::string::npos ? at : json.find("\"" + key + "\":", at);
  if (at == std::string::npos) return -99999;
  const char* value = json.c_str() + at + key.size() + 3;
  if (*value == 't' || *value == 'f') return *value == 't';
  return std::strtod(value, nullptr);
}

struct GameRun {
  int exitCode = -1;
  fs::path folder;
  std::map<int, std::string> dumps;
  std::vector<TraceLine> trace;
  std::string errors;
  std::shared_ptr<void> cleanup;  // removes the folder unless CORVANE_KEEP_RUNS is set

  double At(int frame, const std::string& key, const std::string& record = "") const {
    EXPECT_TRUE(dumps.count(frame)) << "no dump of frame " << frame;
    return dumps.count(frame) ? JsonNumber(dumps.at(frame), key, record) : -99999;
  }
  // Frames of the calls of `method` on `slot` ("" any slot), in order.
  std::vector<int> Frames(const std::string& slot, const std::string& method, int frame = -1) const {
    std::vector<int> frames;
    for (const TraceLine& l : trace)
      if ((slot.empty() || l.slot == slot) && l.method == method && (frame < 0 || l.frame == frame))
        frames.push_back(l.frame);
    return frames;
  }
};

inline GameRun RunGame(const std::string& name, const std::string& script, int frames,
                       const std::string& dumpFrames, const std::string& captureFrames = "",
                       const std::function<void(const fs::path& data)>& prepare = nullptr) {
  GameRun run;
  run.folder = fs::temp_directory_path() / ("corvane-run-" + std::to_string(::getpid()) + "-" + name);
  fs::remove_all(run.folder);
  if (!std::getenv("CORVANE_KEEP_RUNS"))
    run.cleanup.reset((void*)1, [folder = run.folder](void*) {
      std::error_code error;
      fs::remove_all(folder, error);
    });
  const fs::path data = run.folder / "data", generated = fs::path(CORVANE_BINARY_DIR) / "data";
  fs::create_directories(data / "TEXT");
  for (const char* sub : {"bmp", "wav", "XFILE"}) fs::create_directory_symlink(generated / sub, data / sub);
  if (prepare) prepare(data);
  std::ofstream(run.folder / "input.script") << script;

  std::string command = "cd '" + run.folder.string() + "' && '" CORVANE_BINARY_DIR "/corvane' --headless" +
                        " --data data --script input.script --sound-trace sound.trace --frames " +
                        std::to_string(frames) + " --dump '" + dumpFrames + "' --dump-file dump.jsonl";
  if (!captureFrames.empty()) command += " --capture '" + captureFrames + "' --capture-dir captures";
  int status = std::system((command + " 2> stderr.txt").c_str());
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

  std::ifstream dump(run.folder / "dump.jsonl");
  for (std::string line; std::getline(dump, line);) run.dumps[(int)JsonNumber(line, "frame")] = line;
  std::ifstream trace(run.folder / "sound.trace");
  for (std::string line; std::getline(trace, line);) {
    std::istringstream fields(line);
    TraceLine entry;
    fields >> entry.frame >> entry.slot >> entry.method >> std::ws;
    std::getline(fields, entry.args);
    run.trace.push_back(entry);
  }
  run.errors = ReadText(run.folder / "stderr.txt");
  return run;
}
