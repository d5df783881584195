#include "dsound/sound_math.h"

#include <algorithm>
#include <cmath>

namespace corvane::audio {

float VolumeToGain(LONG volume) {
  volume = std::clamp<LONG>(volume, DSBVOLUME_MIN, DSBVOLUME_MAX);
  if (volume == DSBVOLUME_MIN) return 0.0f;  // -100 dB is DirectSound's silence
  return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

float DistanceGain(float distance, float minDistance, float maxDistance, float rolloff) {
  if (minDistance <= 0.0f) return 1.0f;
  float d = std::clamp(distance, minDistance, std::max(minDistance, maxDistance));
  float attenuated = minDistance + rolloff * (d - minDistance);
  return attenuated > 0.0f ? minDistance / attenuated : 1.0f;
}

AlVector ToOpenAl(float x, float y, float z) { return {x, y, -z}; }

bool ComputeLockRegions(DWORD size, DWORD offset, DWORD bytes, DWORD flags, DWORD writeCursor,
                        LockRegions* out) {
  if (flags & DSBLOCK_FROMWRITECURSOR) offset = writeCursor;
  if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
  if (size == 0 || offset >= size || bytes == 0 || bytes > size) return false;
  DWORD first = std::min(bytes, size - offset);
  out->offset1 = offset;
  out->bytes1 = first;
  out->bytes2 = bytes - first;
  return true;
}

}  // namespace corvane::audio
