// The hostile-file sweep: every file of the generated data emptied, cut in
// half, replaced by a folder and mutated at random offsets, and the .x files
// known to crash Assimp put in place of the meshes. The game is started on
// each damaged data folder: it must start and run, name every file it could
// not use, and never crash, hang or grow past 500 MB. Several files are
// damaged in each run (they are loaded independently), so the sweep covers
// every file in a few dozen runs. It prints its figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "fuzz/hostile_x_files.h"
#include "support/child_process.h"
#include "support/corpus.h"
#include "support/corvane_run.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFilesPerRun = 18;
constexpr int kTimeoutSeconds = 60;
constexpr long kMemoryLimitKb = 500 * 1024;
constexpr int kMutationRounds = 2;
constexpr int kBytesMutated = 16;

const fs::path kData = fs::path(CORVANE_BINARY_DIR) / "data";

struct Damage {
  fs::path relative;    // under the data folder, e.g. bmp/123.bmp
  std::string kind;     // empty, truncated, folder, mutated, hostile
  std::string content;  // what replaces the file (unused for a folder)
};

struct Outcome {
  bool exitedWell = false, crashed = false, hung = false;
  long peakKb = 0;
  double seconds = 0;
  std::string errors;
};

std::vector<fs::path> DataFiles() {
  std::vector<fs::path> files;
  for (const char* sub : {"bmp", "wav", "XFILE"})
    for (const auto& entry : fs::directory_iterator(kData / sub))
      if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), kData));
  std::sort(files.begin(), files.end());
  return files;
}

// A data folder of links to the generated files, with the damaged ones real.
std::string MakeDamagedData(const std::vector<Damage>& damages) {
  const std::string dir = MakeScratchDir("hostile");
  fs::create_directories(fs::path(dir) / "TEXT");
  for (const fs::path& file : DataFiles()) {
    fs::create_directories(fs::path(dir) / file.parent_path());
    fs::create_symlink(kData / file, fs::path(dir) / file);
  }
  for (const Damage& d : damages) {
    const fs::path target = fs::path(dir) / d.relative;
    fs::remove(target);
    if (d.kind == "folder") {
      fs::create_directories(target);
    } else {
      std::ofstream(target, std::ios::binary) << d.content;
    }
  }
  return dir;
}

Outcome RunGame(const std::string& data) {
  ChildSetup setup;
  setup.workDir = data;
  setup.outFile = "/dev/null";
  setup.errFile = data + "/stderr.txt";
  const auto start = std::chrono::steady_clock::now();
  const ChildEnd end = WaitChildEnd(StartChild({CorvaneBinary(), "--headless", "--frames", "3", "--data", data}, setup),
                                    kTimeoutSeconds);
  Outcome out;
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  out.peakKb = end.peakKb;
  out.hung = end.killedByTimeLimit;
  out.crashed = end.endedBySignal;
  out.exitedWell = end.exitCode == 0;
  out.errors = ReadText(setup.errFile);
  return out;
}

// Damages of one kind for every data file, about kFilesPerRun to a run.
// Meshes and the other files go to separate runs: a refused mesh never asks
// for its texture, so that texture could not be named.
std::vector<std::vector<Damage>> Batches(const std::vector<Damage>& all) {
  std::vector<Damage> meshes, others;
  for (const Damage& d : all) (d.relative.extension() == ".x" ? meshes : others).push_back(d);
  std::vector<std::vector<Damage>> runs;
  for (const std::vector<Damage>* group : {&meshes, &others}) {
    if (group->empty()) continue;
    const size_t first = runs.size(), count = (group->size() + kFilesPerRun - 1) / kFilesPerRun;
    runs.resize(first + count);
    for (size_t i = 0; i < group->size(); ++i) runs[first + i % count].push_back((*group)[i]);
  }
  return runs;
}

std::vector<std::vector<Damage>> AllRuns() {
  std::vector<std::vector<Damage>> runs;
  const std::vector<fs::path> files = DataFiles();
  std::mt19937 random(19);
  for (const char* kind : {"empty", "truncated", "folder", "mutated"}) {
    const int rounds = std::string(kind) == "mutated" ? kMutationRounds : 1;
    for (int round = 0; round < rounds; ++round) {
      std::vector<Damage> all;
      for (const fs::path& file : files) {
        std::string content = ReadText(kData / file);
        if (std::string(kind) == "empty") content.clear();
        if (std::string(kind) == "truncated") content.resize(content.size() / 2);
        if (std::string(kind) == "mutated")
          for (int i = 0; i < kBytesMutated && !content.empty(); ++i)
            content[random() % content.size()] ^= char(1 + random() % 255);
        all.push_back({file, kind, content});
      }
      for (auto& run : Batches(all)) runs.push_back(std::move(run));
    }
  }
  // The .x files that crash Assimp in-process, and the corpus's, as the meshes.
  std::vector<std::string> hostile;
  for (const auto& named : HostileXFiles()) hostile.push_back(named.second);
  const fs::path skin = CorpusFolder("x") / "malformed_skinweights_oob.x";
  if (fs::exists(skin)) hostile.push_back(ReadText(skin));
  const char* meshes[] = {"XFILE/gitor.x", "XFILE/Stone.x", "XFILE/Item.x", "XFILE/Dust.x"};
  std::vector<Damage> hostileRun;
  for (size_t i = 0; i < hostile.size(); ++i) hostileRun.push_back({meshes[i % 4], "hostile", hostile[i]});
  runs.push_back(hostileRun);
  return runs;
}

TEST(HostileFiles, GameStartsNamesEveryBadFileAndNeverCrashesHangsOrBloats) {
  ASSERT_TRUE(fs::exists(kData / "bmp")) << "no generated data in " << kData;
  int runs = 0, tried = 0, named = 0, loadedAnyway = 0, crashes = 0, hangs = 0, failedStarts = 0;
  long worstKb = 0;
  double worstSeconds = 0;
  for (const std::vector<Damage>& damages : AllRuns()) {
    const std::string data = MakeDamagedData(damages);
    const Outcome out = RunGame(data);
    ++runs;
    crashes += out.crashed;
    hangs += out.hung;
    failedStarts += !out.exitedWell;
    worstKb = std::max(worstKb, out.peakKb);
    worstSeconds = std::max(worstSeconds, out.seconds);
    EXPECT_TRUE(out.exitedWell) << damages.front().kind << " " << damages.front().relative << "\n" << out.errors;
    EXPECT_LE(out.peakKb, kMemoryLimitKb) << damages.front().kind << " " << damages.front().relative;
    for (const Damage& d : damages) {
      ++tried;
      const bool isNamed = out.errors.find(d.relative.filename().string() + "\"") != std::string::npos;
      named += isNamed;
      // A mutated file may still be a sound picture, model or sound.
      if (d.kind == "mutated") loadedAnyway += !isNamed;
      else EXPECT_TRUE(isNamed) << d.kind << " " << d.relative << " not named:\n" << out.errors;
    }
    fs::remove_all(data);
  }
  std::printf("hostile-file sweep: %d damaged files in %d runs of the game\n", tried, runs);
  std::printf("  named as unusable: %d; mutated but still loaded: %d\n", named, loadedAnyway);
  std::printf("  crashes: %d, hangs: %d, runs not ending normally: %d\n", crashes, hangs, failedStarts);
  std::printf("  worst peak memory: %.1f MB, worst run time: %.2f s\n", worstKb / 1024.0, worstSeconds);
}

}  // namespace
