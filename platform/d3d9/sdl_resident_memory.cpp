#include "d3d9/sdl_resident_memory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace corvane {

namespace {

struct Mapping {
  unsigned long start = 0, end = 0;
  bool releasable = false;
};

void Release(const Mapping& m) {
  if (m.releasable && m.end > m.start) madvise(reinterpret_cast<void*>(m.start), m.end - m.start, MADV_DONTNEED);
}

// A private, read-only mapping of a file (not a device): dropping its pages
// loses nothing the file does not hold, unless some were written.
bool ReadOnlyFileMapping(const char* perms, const char* path) {
  return path[0] == '/' && std::strncmp(path, "/dev/", 5) != 0 && perms[1] != 'w' && perms[3] == 'p';
}

}  // namespace

void ReleaseUnmodifiedLibraryPages() {
  std::FILE* smaps = std::fopen("/proc/self/smaps", "r");
  if (!smaps) return;
  char line[4096];
  Mapping mapping;
  while (std::fgets(line, sizeof line, smaps)) {
    unsigned long start = 0, end = 0;
    char perms[8] = {};
    int path = 0;
    // A mapping's header: "start-end perms offset device inode [path]".
    if (std::sscanf(line, "%lx-%lx %7s %*s %*s %*s %n", &start, &end, perms, &path) == 3 && path > 0) {
      Release(mapping);
      mapping = {start, end, ReadOnlyFileMapping(perms, line + path)};
    } else if (!std::strncmp(line, "Anonymous:", 10) && std::strtoul(line + 10, nullptr, 10) != 0) {
      mapping.releasable = false;  // relocated (RELRO) pages: the file holds other bytes
    }
  }
  Release(mapping);
  std::fclose(smaps);
}

void SettleHeapAfterStartUp() {
#ifdef __GLIBC__
  malloc_trim(0);
  mallopt(M_MMAP_THRESHOLD, 1 << 20);  // fixed: glibc raises its own to the largest block freed
#endif
}

}  // namespace corvane
