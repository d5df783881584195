#include "frontend/score_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

// Far more than three numbers in any layout need; a longer file is damage
// rather than a reason to read without bound.
const size_t MAX_SCORE_FILE_BYTES = 64 * 1024;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

ScoreFile Unreadable(const std::string& why) {
  ScoreFile file;
  file.state = ScoreFile::UNREADABLE;
  file.problem = why;
  return file;
}

// What was read is parsed afterwards; this only marks that it was read.
ScoreFile Read() {
  ScoreFile file;
  file.state = ScoreFile::SOUND;
  return file;
}

// The file a chain of symbolic links ends at (the path itself when it is no
// link), so that a replacement lands there and the links stay.
fs::path FollowLinks(fs::path path) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
    fs::path target = fs::read_symlink(path, error);
    if (error) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

#ifdef _WIN32

std::string WindowsError(DWORD code) { return "Windows error " + std::to_string(code); }

// A handle that names a file on disk, not a pipe, console or other device.
ScoreFile ReadOpenFile(HANDLE handle, std::string& text) {
  if (GetFileType(handle) != FILE_TYPE_DISK) return Unreadable("not a regular file");
  char buffer[4096];
  DWORD got = 0;
  while (text.size() <= MAX_SCORE_FILE_BYTES) {
    if (!ReadFile(handle, buffer, sizeof buffer, &got, NULL)) return Unreadable(WindowsError(GetLastError()));
    if (got == 0) break;
    text.append(buffer, got);
  }
  return Read();
}

ScoreFile ReadWholeFile(const std::string& path, std::string& text) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return ScoreFile();
    return Unreadable(WindowsError(code));
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Unreadable("not a regular file");
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, share, NULL, OPEN_EXISTING, 0, NULL);
  if (handle == INVALID_HANDLE_VALUE) return Unreadable(WindowsError(GetLastError()));
  ScoreFile result = ReadOpenFile(handle, text);
  CloseHandle(handle);
  return result;
}

bool WriteDurably(const std::string& path, const std::string& text, std::string& error) {
  HANDLE handle =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (handle == INVALID_HANDLE_VALUE) {
    error = WindowsError(GetLastError());
    return false;
  }
  DWORD written = 0;
  bool ok = WriteFile(handle, text.data(), (DWORD)text.size(), &written, NULL) && written == text.size() &&
            FlushFileBuffers(handle);
  if (!ok) error = WindowsError(GetLastError());
  CloseHandle(handle);
  return ok;
}

// Write-through: the move is on disk when the call returns.
bool RenameDurably(const std::string& from, const std::string& to, std::string& error) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  error = WindowsError(GetLastError());
  return false;
}

#else

ScoreFile ReadOpenFile(int fd, std::string& text) {
  struct stat info;
  if (fstat(fd, &info) != 0) return Unreadable(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return Unreadable("not a regular file");
  char buffer[4096];
  while (text.size() <= MAX_SCORE_FILE_BYTES) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Unreadable(std::strerror(errno));
    if (got == 0) break;
    text.append(buffer, (size_t)got);
  }
  return Read();
}

// Non-blocking, so that a pipe or device at the path cannot stop start-up.
ScoreFile ReadWholeFile(const std::string& path, std::string& text) {
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ScoreFile() : Unreadable(std::strerror(errno));
  ScoreFile result = ReadOpenFile(fd, text);
  close(fd);
  return result;
}

bool WriteDurably(const std::string& path, const std::string& text, std::string& error) {
  unlink(path.c_str());  // a leftover, or a link someone left there: never written through
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  errno = 0;
  bool ok = write(fd, text.data(), text.size()) == (ssize_t)text.size() && fsync(fd) == 0;
  if (!ok) error = errno ? std::strerror(errno) : "short write";
  if (close(fd) != 0 && ok) {
    error = std::strerror(errno);
    ok = false;
  }
  return ok;
}

// The rename lives in the folder: syncing it makes the new name survive a
// power loss. Folders some file systems cannot sync are left as they are.
bool RenameDurably(const std::string& from, const std::string& to, std::string& error) {
  if (rename(from.c_str(), to.c_str()) != 0) {
    error = std::strerror(errno);
    return false;
  }
  std::string folder = fs::path(to).parent_path().string();
  int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return true;
}

#endif

}  // namespace

ScoreFile ParseScoreText(const char* text, size_t size, bool more) {
  ScoreFile file;
  file.state = ScoreFile::SOUND;
  size_t at = 0;
  for (int entry = 0; entry < 3; ++entry) {
    while (at < size && IsSpace(text[at])) ++at;
    bool negative = at < size && text[at] == '-';
    if (at < size && (text[at] == '-' || text[at] == '+')) ++at;
    const size_t digits = at;
    long long value = 0;
    for (; at < size && IsDigit(text[at]); ++at) {
      if (value <= 2147483648LL) value = value * 10 + (text[at] - '0');
    }
    if (negative) value = -value;
    if (at == size && more) {
      file.problem = "it is longer than any score file";
    } else if (at == digits) {
      file.problem = at == size ? "it holds only " + std::to_string(entry) + " of 3 scores"
                                : "score " + std::to_string(entry + 1) + " is not a number";
    } else if (value > 2147483647LL || value < -2147483648LL) {
      file.problem = "score " + std::to_string(entry + 1) + " is out of range";
    } else {
      file.scores[entry] = (int)value;
      continue;
    }
    file.state = ScoreFile::DAMAGED;
    for (int rest = entry; rest < 3; ++rest) file.scores[rest] = 0;
    break;
  }
  return file;
}

ScoreFile ReadScoreFile(const std::string& path) {
  std::string text;
  ScoreFile opened = ReadWholeFile(path, text);
  if (opened.state != ScoreFile::SOUND) return opened;
  bool more = text.size() > MAX_SCORE_FILE_BYTES;
  if (more) text.resize(MAX_SCORE_FILE_BYTES);
  return ParseScoreText(text.data(), text.size(), more);
}

bool ReplaceScoreFile(const std::string& path, const int scores[3], std::string& error) {
  const fs::path target = FollowLinks(path);
  std::error_code folderError;
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), folderError);

  std::string text;
  for (int i = 0; i < 3; ++i) text += std::to_string(scores[i]) + " ";
  const std::string temporary = target.string() + ".new";
  if (WriteDurably(temporary, text, error) && RenameDurably(temporary, target.string(), error)) return true;
  std::error_code ignored;
  fs::remove(temporary, ignored);
  return false;
}

std::string SetAsideDamaged(const std::string& path, std::string& error) {
  const fs::path target = FollowLinks(path);
  std::error_code status;
  std::string aside = target.string() + ".damaged";
  for (int n = 2; fs::exists(fs::symlink_status(aside, status)); ++n) {
    aside = target.string() + ".damaged." + std::to_string(n);
  }
  std::error_code renameError;
  fs::rename(target, aside, renameError);
  if (!renameError) return aside;
  error = renameError.message();
  return "";
}
