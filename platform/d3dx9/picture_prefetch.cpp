// The picture read-ahead: one worker thread, a list of the data folder's
// picture files in name order, and the main thread taking what it needs.
// A picture the main thread asks for before the worker reached it is read
// by the main thread (the worker skips it); one being decoded is waited for.
#include "d3dx9/picture_prefetch.h"

#ifdef __EMSCRIPTEN__

namespace corvane::d3dx9 {

void StartPicturePrefetch() {}
void StopPicturePrefetch() {}
void WaitForPicturePrefetch() {}
bool TakePrefetchedPicture(const std::string&, PictureFile*) { return false; }

}  // namespace corvane::d3dx9

#else

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <list>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "common/data_folder.h"
#include "common/startup_work.h"

namespace corvane::d3dx9 {
namespace {

// The worker stops reading ahead while it holds this much decoded picture
// the game has not taken yet.
constexpr size_t kMaxHeldBytes = size_t(64) << 20;

// Which file, in which state: a file replaced, rewritten or touched since
// has another stamp.
struct FileStamp {
  dev_t device;
  ino_t inode;
  off_t size;
  timespec modified, changed;
};

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

bool operator==(const FileStamp& a, const FileStamp& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size && SameTime(a.modified, b.modified) &&
         SameTime(a.changed, b.changed);
}

// False for anything but a regular file.
bool StampOf(const std::string& path, FileStamp* stamp) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  *stamp = {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  return true;
}

bool IsPictureName(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return extension == "bmp" || extension == "png" || extension == "jpg" || extension == "jpeg" ||
         extension == "tga";
}

// The names in a folder, in byte order.
std::vector<std::string> SortedNames(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir))
      if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct Entry {
  std::string path;
  FileStamp stamp;
  enum class State { Queued, Reading, Ready } state = State::Queued;
  PictureFile picture;
};

class Prefetch {
 public:
  ~Prefetch() { Stop(); }

  void Start() {
    Stop();
    char here[PATH_MAX];
    if (!getcwd(here, sizeof here)) return;
    std::vector<std::string> folders;
    for (const std::string& folder : GameDataFolders()) folders.push_back(std::string(here) + "/" + folder);
    std::lock_guard<std::mutex> lock(mutex_);
    try {
      worker_ = std::thread(&Prefetch::Run, this, std::move(folders));
      active_ = true;
    } catch (const std::system_error&) {
      // No thread: every picture is read when it is asked for.
    }
  }

  void Stop() {
    std::unique_lock<std::mutex> lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
    lock.unlock();
    if (worker_.joinable()) worker_.join();
    lock.lock();
    entries_.clear();
    heldBytes_ = 0;
    active_ = listed_ = stopping_ = finished_ = false;
  }

  void WaitUntilFinished() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return !active_ || finished_; });
  }

  bool Take(const std::string& path, PictureFile* picture) {
    FileStamp stamp;
    std::unique_lock<std::mutex> lock(mutex_);
    if (!active_ || !StampOf(path, &stamp)) return false;
    changed_.wait(lock, [&] { return listed_; });
    for (;;) {
      const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.stamp == stamp; });
      if (it == entries_.end()) return false;
      if (it->state == Entry::State::Queued) {
        entries_.erase(it);  // the caller reads it now
        return false;
      }
      if (it->state == Entry::State::Ready) {
        heldBytes_ -= it->picture.image.rgba.size();
        *picture = std::move(it->picture);
        entries_.erase(it);
        changed_.notify_all();
        return true;
      }
      changed_.wait(lock);
    }
  }

 private:
  // The picture files in `folders`, in name order.
  static std::list<Entry> List(const std::vector<std::string>& folders) {
    std::list<Entry> found;
    for (const std::string& dir : folders) {
      for (const std::string& name : SortedNames(dir)) {
        Entry entry;
        entry.path = dir + "/" + name;
        if (IsPictureName(name) && StampOf(entry.path, &entry.stamp) &&
            uint64_t(entry.stamp.size) <= kMaxPictureFileBytes)
          found.push_back(std::move(entry));
      }
    }
    return found;
  }

  // Takes its folders by value: the worker touches nothing the program's
  // exit may have destroyed before it is joined.
  void Run(std::vector<std::string> folders) {
    std::list<Entry> found = List(folders);
    std::unique_lock<std::mutex> lock(mutex_);
    entries_.splice(entries_.end(), found);
    listed_ = true;
    changed_.notify_all();
    for (;;) {
      changed_.wait(lock, [&] { return stopping_ || heldBytes_ < kMaxHeldBytes; });
      const auto it = std::find_if(entries_.begin(), entries_.end(),
                                   [](const Entry& e) { return e.state == Entry::State::Queued; });
      if (stopping_ || it == entries_.end()) break;
      // Only this thread erases an entry being read, so `it` stays valid.
      it->state = Entry::State::Reading;
      const std::string path = it->path;
      const FileStamp listed = it->stamp;
      lock.unlock();
      PictureFile picture = ReadPictureFile(path);
      FileStamp now;
      const bool unchanged = StampOf(path, &now) && now == listed;
      lock.lock();
      if (unchanged) {
        heldBytes_ += picture.image.rgba.size();
        it->picture = std::move(picture);
        it->state = Entry::State::Ready;
      } else {
        entries_.erase(it);  // rewritten while read: read when asked for
      }
      changed_.notify_all();
    }
    finished_ = true;
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::list<Entry> entries_;
  size_t heldBytes_ = 0;
  bool active_ = false, listed_ = false, stopping_ = false, finished_ = false;
  std::thread worker_;
};

Prefetch prefetch;

}  // namespace

void StartPicturePrefetch() {
  prefetch.Start();
  AtStartupEnd(&StopPicturePrefetch);
}

void StopPicturePrefetch() { prefetch.Stop(); }

void WaitForPicturePrefetch() { prefetch.WaitUntilFinished(); }

bool TakePrefetchedPicture(const std::string& path, PictureFile* picture) { return prefetch.Take(path, picture); }

}  // namespace corvane::d3dx9

#endif
