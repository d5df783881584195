// Samples held by OpenAL alone. With OpenAL Soft's buffer mapping a buffer's
// samples can be read back, so a DirectSound buffer need not keep its own
// copy once they are uploaded, and they can even be written straight into
// OpenAL's storage; without it the caller keeps its copy.
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
  // A new buffer of `size` bytes, readable, whose storage the caller writes
  // through `*memory` until Seal (OpenAL plays what is there meanwhile); its
  // contents are undefined. 0 when OpenAL cannot hand its storage out.
  ALuint Create(ALenum format, size_t size, ALsizei rate, void** memory);
  // The writing of `written` is done: returns the buffer that holds these
  // samples from now on, an identical earlier one (one more user) if there is
  // one, in which case `written` goes with its Release.
  ALuint Seal(ALuint written);
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
    void* writing;  // the mapped storage while Create's caller fills it
  };
  // An entry that holds exactly these samples and is not being written.
  Entry* Twin(ALenum format, ALsizei rate, size_t size, uint64_t key, const void* data);

  std::vector<Entry> entries_;
};

}  // namespace corvane::audio
