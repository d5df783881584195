#include "gate_run/live_run.h"

#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

LiveRun::~LiveRun() {
  if (child_ > 0) {
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
  }
  if (scriptFd_ >= 0) close(scriptFd_);
  if (dumpFd_ >= 0) close(dumpFd_);
}

bool LiveRun::Start(const std::vector<std::string>& extraArgs) {
  workDir = MakeScratchDir("live");
  dataDir = MakeScratchDataDir();
  std::string scriptPath = workDir + "/keys.pipe", dumpPath = workDir + "/dump.pipe";
  if (workDir.empty() || mkfifo(scriptPath.c_str(), 0600) != 0 || mkfifo(dumpPath.c_str(), 0600) != 0) {
    error = "cannot make the pipes";
    return false;
  }
  // The dump's read end first, without waiting, so the program's open of the
  // write end never blocks.
  dumpFd_ = open(dumpPath.c_str(), O_RDONLY | O_NONBLOCK);
  std::vector<std::string> args = {CorvaneBinary(), "--headless", "--data",      dataDir,
                                   "--script",      scriptPath,   "--dump",      "all",
                                   "--dump-file",   dumpPath};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  ChildSetup setup;
  setup.workDir = workDir;
  setup.errFile = workDir + "/stderr.txt";
  setup.timeLimit = 0;  // a whole stage takes long; the driver stops the run
  child_ = StartChild(args, setup);
  // The script's write end opens once the program holds the read end.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((scriptFd_ = open(scriptPath.c_str(), O_WRONLY | O_NONBLOCK)) < 0) {
    if (errno != ENXIO || waitpid(child_, nullptr, WNOHANG) != 0 || std::chrono::steady_clock::now() > deadline) {
      error = "the program did not open its script";
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  fcntl(scriptFd_, F_SETFL, 0);
  return dumpFd_ >= 0;
}

bool LiveRun::Send(int frame, const std::string& keys) {
  std::string line = std::to_string(frame) + ": " + keys + "\n";
  sent.push_back(line);
  return scriptFd_ >= 0 && write(scriptFd_, line.data(), line.size()) == (ssize_t)line.size();
}

bool LiveRun::ReadLine(std::string& line, int timeoutSeconds) {
  for (;;) {
    size_t newline = pending_.find('\n');
    if (newline != std::string::npos) {
      line = pending_.substr(0, newline);
      pending_.erase(0, newline + 1);
      return true;
    }
    pollfd waitFor = {dumpFd_, POLLIN, 0};
    if (poll(&waitFor, 1, timeoutSeconds * 1000) <= 0) return false;
    char buffer[65536];
    ssize_t got = read(dumpFd_, buffer, sizeof buffer);
    if (got < 0 && errno == EAGAIN) continue;
    if (got <= 0) return false;
    pending_.append(buffer, (size_t)got);
  }
}

namespace {

// Drops [from, to) of a dump line when both members are there.
void Drop(std::string& line, const char* from, const char* to) {
  size_t a = line.find(from), b = a == std::string::npos ? a : line.find(to, a);
  if (b != std::string::npos) line.erase(a, b - a);
}

}  // namespace

// A driver reads thousands of lines, and most of each is the smoke, the
// streaks and the trail history it has no use for: those are left out.
bool LiveRun::Next(JsonValue& state, int timeoutSeconds) {
  std::string line;
  if (!ReadLine(line, timeoutSeconds)) return false;
  Drop(line, ",\"trailEmitters\":", ",\"dashing\":");
  size_t tail = line.find(",\"Graze\":");
  if (tail != std::string::npos) line.replace(tail, std::string::npos, "}");
  return ParseJson(line, state);
}

int LiveRun::Finish() {
  if (scriptFd_ >= 0) close(scriptFd_);
  scriptFd_ = -1;
  // The run is ending (a close was sent, or --frames runs out): drain the
  // dump so the program never waits on a full pipe, but not for ever.
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (ReadLine(line, 60) && std::chrono::steady_clock::now() < deadline) {
  }
  if (std::chrono::steady_clock::now() >= deadline) kill(child_, SIGKILL);
  int status = 0;
  pid_t done = child_ > 0 ? waitpid(child_, &status, 0) : -1;
  child_ = -1;
  return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
