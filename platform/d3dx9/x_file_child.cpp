// Assimp is not hardened against hostile files (out-of-range indices crash
// it, deep nesting overflows its stack, a declared count of billions is
// allocated as asked), so every .x file is read in a forked child under
// memory, CPU and time limits. The child sends the finished geometry back
// through a pipe; this side checks every count and index again before the
// game sees any of it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "d3dx9/x_file_import.h"

namespace corvane::d3dx9 {
namespace {

constexpr uint64_t kChildMemoryBytes = 256ull << 20;  // beyond what it inherits
constexpr rlim_t kChildCpuSeconds = 10;
constexpr int kChildWallMilliseconds = 15000;
constexpr size_t kMaxReplyBytes = 64u << 20;

bool Fail(std::string* error, const char* why) {
  *error = why;
  return false;
}

// --- the child ----------------------------------------------------------

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

uint64_t AddressSpaceInUse() {
  unsigned long long pages = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%llu", &pages) != 1) pages = 0;
    std::fclose(f);
  }
  return pages * uint64_t(sysconf(_SC_PAGESIZE));
}

void LimitChild() {
  // Crashes end the child quietly: no handler of the parent's (a sanitizer's
  // or a fuzzer's) runs in it, and there is no core file.
  for (int sig : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGXCPU})
    signal(sig, SIG_DFL);
  const rlimit core{0, 0};
  setrlimit(RLIMIT_CORE, &core);
  const rlimit cpu{kChildCpuSeconds, kChildCpuSeconds};
  setrlimit(RLIMIT_CPU, &cpu);
  // Counted from what the child inherits, so a big parent (or a sanitizer's
  // reserved shadow memory) still leaves the same room.
  const uint64_t inUse = AddressSpaceInUse();
  if (inUse > 0) {
    const rlimit memory{rlim_t(inUse + kChildMemoryBytes), rlim_t(inUse + kChildMemoryBytes)};
    setrlimit(RLIMIT_AS, &memory);
  }
  const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (devNull >= 0) dup2(devNull, STDERR_FILENO);
}

[[noreturn]] void RunChild(const std::string& path, int reply) {
  LimitChild();
  std::string bytes;
  try {
    XFileContents contents;
    std::string error;
    if (ImportXFileInProcess(path, &contents, &error)) {
      bytes = SerializeXFile(contents);
    } else {
      bytes = SerializeXFileRefusal(error);
    }
  } catch (...) {
    _exit(3);
  }
  _exit(WriteAll(reply, bytes.data(), bytes.size()) ? 0 : 2);
}

// --- the parent ---------------------------------------------------------

int64_t NowMilliseconds() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Everything the child writes until it closes the pipe; on running out of
// time or room, false and why.
bool ReadReply(int fd, std::string* reply, std::string* error) {
  const int64_t deadline = NowMilliseconds() + kChildWallMilliseconds;
  char chunk[65536];
  for (;;) {
    const int64_t left = deadline - NowMilliseconds();
    if (left <= 0) return Fail(error, "the mesh reader took too long");
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, int(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return Fail(error, "the mesh reader took too long");
    const ssize_t n = ready < 0 ? -1 : read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(error, "cannot hear from the mesh reader");
    if (n == 0) return true;
    if (reply->size() + size_t(n) > kMaxReplyBytes) return Fail(error, "the mesh is too large");
    reply->append(chunk, size_t(n));
  }
}

std::string DescribeEnd(int status) {
  if (WIFSIGNALED(status)) {
    const int sig = WTERMSIG(status);
    if (sig == SIGXCPU) return "the mesh reader used too much time";
    return std::string("the mesh reader crashed: ") + strsignal(sig);
  }
  return "the mesh reader ran out of memory or failed";
}

}  // namespace

bool ImportXFile(const std::string& path, XFileContents* out, std::string* error) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return Fail(error, "cannot start the mesh reader");
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return Fail(error, "cannot start the mesh reader");
  }
  if (child == 0) {
    close(fds[0]);
    RunChild(path, fds[1]);
  }
  close(fds[1]);
  std::string reply;
  const bool complete = ReadReply(fds[0], &reply, error);
  close(fds[0]);
  if (!complete) kill(child, SIGKILL);
  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  if (!complete) return false;
  // (A game that lets the system reap its children cannot wait: then the
  // whole, checked answer is all there is to go by.)
  if (waited == child && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
    *error = DescribeEnd(status);
    return false;
  }
  return DeserializeXFile(reply, out, error);
}

}  // namespace corvane::d3dx9
