// Files the game keeps between runs (best scores) live under the page's
// IndexedDB folder. Every such file is finished by a rename (written whole,
// then renamed into place or set aside), so after each rename the page is
// asked to save: Module.corvanePersist(). The link wraps rename (--wrap).
#include <cstdio>

#include <emscripten.h>

extern "C" int __real_rename(const char* from, const char* to);

extern "C" int __wrap_rename(const char* from, const char* to) {
  const int result = __real_rename(from, to);
  if (result == 0)
    EM_ASM({
      if (Module['corvanePersist']) Module['corvanePersist']();
    });
  return result;
}
