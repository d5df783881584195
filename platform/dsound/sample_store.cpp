#include "dsound/sample_store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace corvane::audio {

namespace {

// AL_SOFT_map_buffer (AL_SOFTX_map_buffer before OpenAL Soft 1.20, same calls and values).
using ALbitfield = unsigned int;
constexpr ALbitfield MAP_READ = 0x1, MAP_WRITE = 0x2, MAP_PERSISTENT = 0x4;  // persistent: mappable while in use
using StorageFn = void(AL_APIENTRY*)(ALuint, ALenum, const ALvoid*, ALsizei, ALsizei, ALbitfield);
using MapFn = void*(AL_APIENTRY*)(ALuint, ALsizei, ALsizei, ALbitfield);
using UnmapFn = void(AL_APIENTRY*)(ALuint);

struct MapCalls {
  StorageFn storage = nullptr;
  MapFn map = nullptr;
  UnmapFn unmap = nullptr;
};

// A cheap fingerprint (a few bytes every 4 KiB); a match is confirmed byte by byte.
uint64_t Fingerprint(const void* data, size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  uint64_t h = 1469598103934665603ull ^ size;
  for (size_t i = 0; i < size; i += 4096)
    for (size_t j = i; j < std::min(size, i + 16); ++j) h = (h ^ bytes[j]) * 1099511628211ull;
  return h;
}

// Storage about to be written whole is faulted in by one call, in 2 MiB pages
// where the kernel offers them, rather than one fault per 4 KiB page on the
// first write (a music loop is over a thousand of them). Contents stay as
// they are; a kernel without these calls leaves the first write to do it.
void FaultInForWriting(void* memory, size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE) && defined(MADV_POPULATE_WRITE)
  const uintptr_t begin = reinterpret_cast<uintptr_t>(memory), end = begin + size;
  const uintptr_t huge = uintptr_t(2) << 20, page = 4096;
  const uintptr_t hugeBegin = (begin + huge - 1) & ~(huge - 1), hugeEnd = end & ~(huge - 1);
  if (hugeEnd > hugeBegin) madvise(reinterpret_cast<void*>(hugeBegin), hugeEnd - hugeBegin, MADV_HUGEPAGE);
  const uintptr_t pageBegin = (begin + page - 1) & ~(page - 1), pageEnd = end & ~(page - 1);
  if (pageEnd > pageBegin) madvise(reinterpret_cast<void*>(pageBegin), pageEnd - pageBegin, MADV_POPULATE_WRITE);
#else
  (void)memory;
  (void)size;
#endif
}

MapCalls Calls() {
  MapCalls calls;
  if (!alIsExtensionPresent("AL_SOFT_map_buffer") && !alIsExtensionPresent("AL_SOFTX_map_buffer")) return calls;
  calls.storage = reinterpret_cast<StorageFn>(alGetProcAddress("alBufferStorageSOFT"));
  calls.map = reinterpret_cast<MapFn>(alGetProcAddress("alMapBufferSOFT"));
  calls.unmap = reinterpret_cast<UnmapFn>(alGetProcAddress("alUnmapBufferSOFT"));
  if (!calls.storage || !calls.map || !calls.unmap) calls = MapCalls{};
  return calls;
}

bool HoldsSamples(ALuint buffer, const void* data, size_t size) {
  const MapCalls calls = Calls();
  if (!calls.map) return false;
  const void* mapped = calls.map(buffer, 0, static_cast<ALsizei>(size), MAP_READ | MAP_PERSISTENT);
  if (!mapped) return false;
  const bool same = std::memcmp(mapped, data, size) == 0;
  calls.unmap(buffer);
  return same;
}

}  // namespace

bool StoreSamples(ALuint buffer, ALenum format, const void* data, size_t size, ALsizei rate) {
  const MapCalls calls = Calls();
  if (calls.storage) {
    alGetError();
    calls.storage(buffer, format, data, static_cast<ALsizei>(size), rate, MAP_READ | MAP_PERSISTENT);
    if (alGetError() == AL_NO_ERROR) {
      // Proven readable now, so the caller may give up its copy.
      void* mapped = calls.map(buffer, 0, static_cast<ALsizei>(size), MAP_READ | MAP_PERSISTENT);
      if (mapped) calls.unmap(buffer);
      if (mapped && alGetError() == AL_NO_ERROR) return true;
    }
  }
  alBufferData(buffer, format, data, static_cast<ALsizei>(size), rate);
  return false;
}

bool ReadSamples(ALuint buffer, size_t size, void* out) {
  const MapCalls calls = Calls();
  if (!calls.map) return false;
  alGetError();
  const void* mapped = calls.map(buffer, 0, static_cast<ALsizei>(size), MAP_READ | MAP_PERSISTENT);
  if (!mapped) return false;
  std::memcpy(out, mapped, size);
  calls.unmap(buffer);
  return alGetError() == AL_NO_ERROR;
}

SharedSamples::Entry* SharedSamples::Twin(ALenum format, ALsizei rate, size_t size, uint64_t key, const void* data) {
  for (Entry& e : entries_)
    if (e.readable && !e.writing && e.key == key && e.size == size && e.format == format && e.rate == rate &&
        HoldsSamples(e.buffer, data, size))
      return &e;
  return nullptr;
}

ALuint SharedSamples::Acquire(ALenum format, const void* data, size_t size, ALsizei rate, bool* readable) {
  const uint64_t key = Fingerprint(data, size);
  if (Entry* twin = Twin(format, rate, size, key, data)) {
    ++twin->users;
    *readable = true;
    return twin->buffer;
  }
  ALuint buffer = 0;
  alGetError();
  alGenBuffers(1, &buffer);
  *readable = false;
  if (alGetError() != AL_NO_ERROR) return 0;
  *readable = StoreSamples(buffer, format, data, size, rate);
  entries_.push_back({buffer, format, rate, size, key, 1, *readable, nullptr});
  return buffer;
}

ALuint SharedSamples::Create(ALenum format, size_t size, ALsizei rate, void** memory) {
  const MapCalls calls = Calls();
  if (!calls.storage) return 0;
  ALuint buffer = 0;
  alGetError();
  alGenBuffers(1, &buffer);
  if (alGetError() != AL_NO_ERROR) return 0;
  const ALbitfield access = MAP_READ | MAP_WRITE | MAP_PERSISTENT;
  calls.storage(buffer, format, nullptr, static_cast<ALsizei>(size), rate, access);
  void* mapped = alGetError() == AL_NO_ERROR ? calls.map(buffer, 0, static_cast<ALsizei>(size), access) : nullptr;
  if (!mapped || alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &buffer);
    return 0;
  }
  FaultInForWriting(mapped, size);
  entries_.push_back({buffer, format, rate, size, 0, 1, true, mapped});
  *memory = mapped;
  return buffer;
}

ALuint SharedSamples::Seal(ALuint written) {
  auto e = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& x) { return x.buffer == written; });
  if (e == entries_.end() || !e->writing) return written;
  e->key = Fingerprint(e->writing, e->size);
  Entry* twin = Twin(e->format, e->rate, e->size, e->key, e->writing);
  Calls().unmap(written);
  e->writing = nullptr;
  if (!twin) return written;
  ++twin->users;
  return twin->buffer;
}

void SharedSamples::Release(ALuint buffer) {
  auto e = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& x) { return x.buffer == buffer; });
  if (e == entries_.end() || --e->users > 0) return;
  if (e->writing) Calls().unmap(buffer);
  alDeleteBuffers(1, &buffer);
  entries_.erase(e);
}

}  // namespace corvane::audio
