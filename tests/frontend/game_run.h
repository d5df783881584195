// Runs the real program headless on a script in a scratch data folder (the
// generated pictures, sounds and meshes linked in, a TEXT folder of its
// own) and collects its state dumps, sound trace and exit code.
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

struct GameRun {
  int exitCode = -1;
  fs::path folder;
  std::map<int, std::string> dumps;  // frame -> its JSON line
  std::vector<TraceLine> trace;
  std::string errors;
  // Removes the scratch folder with the last copy of the run, unless
  // CORVANE_KEEP_RUNS is set (to look at a failure).
  std::shared_ptr<void> cleanup;

  const std::string& Dump(int frame) const {
    static const std::string none;
    auto found = dumps.find(frame);
    EXPECT_NE(found, dumps.end()) << "no dump of frame " << frame;
    return found == dumps.end() ? none : found->second;
  }
  int LastFrame() const { return dumps.empty() ? -1 : dumps.rbegin()->first; }
  // Calls on one sound slot in one frame (frame -1: any frame).
  std::vector<TraceLine> Calls(int frame, const std::string& slot, const std::string& method) const {
    std::vector<TraceLine> found;
    for (const TraceLine& line : trace) {
      if ((frame < 0 || line.frame == frame) && (slot.empty() || line.slot == slot) &&
          line.method == method)
        found.push_back(line);
    }
    return found;
  }
};

// The text after "key": in a JSON line, from `from` on ("" when absent).
inline std::string JsonRaw(const std::string& json, const std::string& key, size_t from = 0) {
  size_t at = json.find("\"" + key + "\":", from);
  if (at == std::string::npos) return "";
  at += key.size() + 3;
  size_t end = json.find_first_of(",}]", at);
  return json.substr(at, end - at);
}

inline double JsonNumber(const std::string& json, const std::string& key) {
  std::string raw = JsonRaw(json, key);
  if (raw == "true") return 1;
  if (raw == "false") return 0;
  return std::strtod(raw.c_str(), nullptr);
}

// A field of a top-level record, e.g. ("Round", "mode").
inline double JsonNumber(const std::string& json, const std::string& record, const std::string& key) {
  size_t at = json.find("\"" + record + "\":{");
  if (at == std::string::npos) return -99999;
  return std::strtod(JsonRaw(json, key, at).c_str(), nullptr);
}

inline std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// `prepare`, when given, may change the data folder before the run.
inline GameRun RunGame(const std::string& name, const std::string& script, int frames,
                       const std::string& dumpFrames, const std::string& captureFrames = "",
                       const std::function<void(const fs::path& data)>& prepare = nullptr) {
  GameRun run;
  run.folder = fs::temp_directory_path() / ("corvane-run-" + std::to_string(::getpid()) + "-" + name);
  fs::remove_all(run.folder);
  if (std::getenv("CORVANE_KEEP_RUNS") == nullptr) {
    fs::path folder = run.folder;
    run.cleanup = std::shared_ptr<void>(nullptr, [folder](void*) {
      std::error_code error;
      fs::remove_all(folder, error);
    });
  }
  fs::path data = run.folder / "data";
  fs::create_directories(data / "TEXT");
  const fs::path generated = fs::path(CORVANE_BINARY_DIR) / "data";
  for (const char* sub : {"bmp", "wav", "XFILE"}) fs::create_directory_symlink(generated / sub, data / sub);
  if (prepare) prepare(data);
  std::ofstream(run.folder / "input.script") << script;

  std::string command = "cd '" + run.folder.string() + "' && '" CORVANE_BINARY_DIR "/corvane'" +
                        " --headless --data data --script input.script --frames " +
                        std::to_string(frames) + " --sound-trace sound.trace";
  if (!dumpFrames.empty()) command += " --dump '" + dumpFrames + "' --dump-file dump.jsonl";
  if (!captureFrames.empty()) command += " --capture '" + captureFrames + "' --capture-dir captures";
  command += " 2> stderr.txt";
  int status = std::system(command.c_str());
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

  std::ifstream dump(run.folder / "dump.jsonl");
  for (std::string line; std::getline(dump, line);) {
    run.dumps[(int)JsonNumber(line, "frame")] = line;
  }
  std::ifstream trace(run.folder / "sound.trace");
  for (std::string line; std::getline(trace, line);) {
    std::istringstream fields(line);
    TraceLine entry;
    fields >> entry.frame >> entry.slot >> entry.method;
    std::getline(fields, entry.args);
    if (!entry.args.empty() && entry.args[0] == ' ') entry.args.erase(0, 1);
    run.trace.push_back(entry);
  }
  run.errors = ReadText(run.folder / "stderr.txt");
  return run;
}
