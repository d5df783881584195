// Samples held by OpenAL alone. With OpenAL Soft's buffer mapping a buffer's
// samples can be read back, so a DirectSound buffer need not keep its own
// copy once they are uploaded; without it the caller keeps its copy.
#pragma once

#include <AL/al.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane::audio {

// Uploads `size` bytes into `buffer` (not attached to any source); true when
// they can later be read back with ReadSamples. Needs a current context.
bool StoreSamples(ALuint buffer, ALenum format, const void* data, size_t size, ALsizei rate);

// Copies the first `size` bytes `buffer` holds into `out`; false when the
// buffer cannot be read.
bool ReadSamples(ALuint buffer, size_t size, void* out);

// The OpenAL buffers of one device, one for each distinct run of samples:
// the game loads some sounds into two slots, and each slot needs its own
// source but not its own copy of the samples.
class SharedSamples {
 public:
  // A buffer holding these samples, shared with earlier identical uploads;
  // `readable` says whether ReadSamples works on it. 0 when OpenAL refuses.
  ALuint Acquire(ALenum format, const void* data, size_t size, ALsizei rate, bool* readable);
  // One user fewer; the buffer goes with its last. Needs a current context.
  void Release(ALuint buffer);

 private:
  struct Entry {
    ALuint buffer;
    ALenum format;
    ALsizei rate;
    size_t size;
    uint64_t key;
    int users;
    bool readable;
  };
  std::vector<Entry> entries_;
};

}  // namespace corvane::audio
