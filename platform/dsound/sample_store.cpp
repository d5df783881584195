#include "dsound/sample_store.h"

#include <cstring>

namespace corvane::audio {

namespace {

// AL_SOFT_map_buffer (AL_SOFTX_map_buffer before OpenAL Soft 1.20, same calls and values).
using ALbitfield = unsigned int;
constexpr ALbitfield MAP_READ = 0x1, MAP_PERSISTENT = 0x4;  // persistent: mappable while a source plays it
using StorageFn = void(AL_APIENTRY*)(ALuint, ALenum, const ALvoid*, ALsizei, ALsizei, ALbitfield);
using MapFn = void*(AL_APIENTRY*)(ALuint, ALsizei, ALsizei, ALbitfield);
using UnmapFn = void(AL_APIENTRY*)(ALuint);

struct MapCalls {
  StorageFn storage = nullptr;
  MapFn map = nullptr;
  UnmapFn unmap = nullptr;
};

MapCalls Calls() {
  MapCalls calls;
  if (!alIsExtensionPresent("AL_SOFT_map_buffer") && !alIsExtensionPresent("AL_SOFTX_map_buffer")) return calls;
  calls.storage = reinterpret_cast<StorageFn>(alGetProcAddress("alBufferStorageSOFT"));
  calls.map = reinterpret_cast<MapFn>(alGetProcAddress("alMapBufferSOFT"));
  calls.unmap = reinterpret_cast<UnmapFn>(alGetProcAddress("alUnmapBufferSOFT"));
  if (!calls.storage || !calls.map || !calls.unmap) calls = MapCalls{};
  return calls;
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

}  // namespace corvane::audio
