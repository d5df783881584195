// Windows-style file-name lookup on a case-sensitive file system.
#include "common/path_lookup.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <windows.h>

#include "corvane_load_error.h"

namespace corvane {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0;
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

// The entry of `dir` whose name equals `name` ignoring ASCII case; prefers an
// exact match so that "a" and "A" side by side both stay reachable.
bool FindEntry(const std::string& dir, const std::string& name, std::string& found) {
  if (Exists(Join(dir, name))) {
    found = name;
    return true;
  }
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  bool ok = false;
  while (dirent* e = readdir(d)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      ok = true;
      break;
    }
  }
  closedir(d);
  return ok;
}

thread_local std::string lastLoadError;

}  // namespace

std::string ResolvePath(const std::string& path) {
  if (path.empty()) return {};
  if (Exists(path)) return path;
  std::string unix_path = path;
  std::replace(unix_path.begin(), unix_path.end(), '\\', '/');
  if (Exists(unix_path)) return unix_path;

  std::string resolved = unix_path[0] == '/' ? "/" : "";
  size_t pos = 0;
  while (pos <= unix_path.size()) {
    size_t next = unix_path.find('/', pos);
    if (next == std::string::npos) next = unix_path.size();
    const std::string part = unix_path.substr(pos, next - pos);
    pos = next + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      resolved = Join(resolved, part);
      continue;
    }
    std::string entry;
    if (!FindEntry(resolved, part, entry)) return {};
    resolved = Join(resolved, entry);
  }
  return Exists(resolved) ? resolved : std::string();
}

int OpenRegularFile(const std::string& path) {
  // Non-blocking, so that a FIFO without a writer cannot stall start-up.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  const bool known = fstat(fd, &st) == 0;
  if (!known || !S_ISREG(st.st_mode)) {
    const int why = !known ? errno : S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
    close(fd);
    errno = why;
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::string OpenFailureReason(int error) {
  if (error == EISDIR) return "it is a folder";
  if (error == ENODEV) return "it is not a regular file";
  return std::strerror(error);
}

bool ReadRegularFile(const std::string& path, size_t maxBytes, std::string* bytes, std::string* why) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) {
    const int error = errno;
    *why = OpenFailureReason(error);
    errno = error;
    return false;
  }
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && uint64_t(st.st_size) <= maxBytes;
  if (!ok) *why = "file too large";
  if (ok) bytes->resize(size_t(st.st_size));
  size_t got = 0;
  while (ok && got < bytes->size()) {
    const ssize_t n = read(fd, bytes->data() + got, bytes->size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      *why = n < 0 ? std::strerror(errno) : "file shrank while read";
    } else {
      got += size_t(n);
    }
  }
  close(fd);
  if (!ok) errno = 0;  // opened: not a missing file
  return ok;
}

void SetLoadError(const std::string& why) { lastLoadError = why; }

}  // namespace corvane

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
  const std::string path = fileName ? corvane::ResolvePath(fileName) : std::string();
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return INVALID_FILE_ATTRIBUTES;
  if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return S_ISREG(st.st_mode) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_DEVICE;
}

const char* CorvaneLastLoadError() { return corvane::lastLoadError.c_str(); }
