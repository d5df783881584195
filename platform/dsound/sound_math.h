// DirectSound's numbers as OpenAL needs them: volume to gain, distance
// attenuation, the left-handed to right-handed flip and the Lock regions.
#pragma once

#include <dsound.h>

namespace corvane::audio {

// SetVolume's hundredths of a decibel as a linear gain; DirectSound never amplifies.
float VolumeToGain(LONG volume);

// DirectSound's attenuation of a 3D sound at `distance` (no MUTE3DATMAXDISTANCE):
// the distance is clamped to [minDistance, maxDistance], then
// gain = min / (min + rolloff * (d - min)). OpenAL's inverse-clamped model gives the same.
float DistanceGain(float distance, float minDistance, float maxDistance, float rolloff);

struct AlVector {
  float x, y, z;
};
// DirectSound is left-handed (+z forward), OpenAL right-handed (-z forward).
AlVector ToOpenAl(float x, float y, float z);

// Where Lock's two regions fall in a circular buffer of `size` bytes, or false
// when DirectSound would refuse the arguments.
struct LockRegions {
  DWORD offset1, bytes1, bytes2;  // the second region always starts at 0
};
bool ComputeLockRegions(DWORD size, DWORD offset, DWORD bytes, DWORD flags, DWORD writeCursor,
                        LockRegions* out);

}  // namespace corvane::audio
