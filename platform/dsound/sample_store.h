// Samples held by OpenAL alone. With OpenAL Soft's buffer mapping a buffer's
// samples can be read back, so a DirectSound buffer need not keep its own
// copy once they are uploaded; without it the caller keeps its copy.
#pragma once

#include <AL/al.h>

#include <cstddef>

namespace corvane::audio {

// Uploads `size` bytes into `buffer` (not attached to any source); true when
// they can later be read back with ReadSamples. Needs a current context.
bool StoreSamples(ALuint buffer, ALenum format, const void* data, size_t size, ALsizei rate);

// Copies the first `size` bytes `buffer` holds into `out`; false when the
// buffer cannot be read.
bool ReadSamples(ALuint buffer, size_t size, void* out);

}  // namespace corvane::audio
