#include "support/child_process.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

pid_t StartChild(const std::vector<std::string>& args, const ChildSetup& setup) {
  std::fflush(nullptr);  // or the child writes our buffered output a second time
  pid_t pid = fork();
  if (pid != 0) return pid;
  if (!setup.outFile.empty() && !std::freopen(setup.outFile.c_str(), "w", stdout)) _exit(127);
  if (!setup.errFile.empty() &&
      !std::freopen(setup.errFile.c_str(), setup.errFile == setup.outFile ? "a" : "w", stderr))
    _exit(127);
  if (!setup.workDir.empty() && chdir(setup.workDir.c_str()) != 0) _exit(127);
  for (const auto& [name, value] : setup.env) {
    if (value.empty()) {
      unsetenv(name.c_str());
    } else {
      setenv(name.c_str(), value.c_str(), 1);
    }
  }
  if (setup.inChild && !setup.inChild()) _exit(126);
  alarm(setup.timeLimit);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

ChildEnd WaitChildEnd(pid_t pid, unsigned seconds) {
  ChildEnd end;
  if (pid <= 0) return end;
  int status = 0;
  rusage usage = {};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  pid_t done = 0;
  while ((done = wait4(pid, &status, seconds ? WNOHANG : 0, &usage)) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      wait4(pid, &status, 0, &usage);
      end.killedByTimeLimit = true;
      end.peakKb = usage.ru_maxrss;
      return end;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  end.peakKb = usage.ru_maxrss;
  end.endedBySignal = done == pid && WIFSIGNALED(status);
  end.exitCode = done == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return end;
}

bool ChildEnded(pid_t pid) {
  siginfo_t info = {};
  return waitid(P_PID, (id_t)pid, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == pid;
}
