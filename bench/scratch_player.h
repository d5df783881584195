// A throwaway player for recorded runs: a data folder that links the real
// one's pictures, sounds and meshes beside an empty TEXT/, and empty config
// and data homes. Scores and settings already on the machine then neither
// steer the run (a best score changes the state dumps) nor get written by it.
#pragma once

#include <string>

namespace corvane::bench {

class ScratchPlayer {
 public:
  // Empty dataDir() when the folder could not be made (error() says why).
  explicit ScratchPlayer(const std::string& realDataDir);
  ~ScratchPlayer();
  ScratchPlayer(const ScratchPlayer&) = delete;
  ScratchPlayer& operator=(const ScratchPlayer&) = delete;

  const std::string& dataDir() const { return dataDir_; }
  const std::string& error() const { return error_; }

 private:
  std::string root_, dataDir_, error_;
};

}  // namespace corvane::bench
