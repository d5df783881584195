#include "dsound/audio_device.h"

#include <AL/alext.h>
#ifndef __EMSCRIPTEN__
#include <AL/efx.h>
#endif

#include <cstdio>

namespace corvane::audio {

namespace {

bool useLoopback = false;
int loopbackRate = 44100;
ALCdevice* newestLoopback = nullptr;
bool simulatedLoss = false;
bool toldSoundOff = false;
bool noDevice = false;
std::chrono::steady_clock::duration clockAdvance{};

LPALCLOOPBACKOPENDEVICESOFT LoopbackOpen() {
  return reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
}

LPALCRENDERSAMPLESSOFT LoopbackRender() {
  return reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
}

void SaySoundOff(const char* why) {
  if (toldSoundOff) return;
  toldSoundOff = true;
  std::fprintf(stderr, "corvane: %s; sound is off\n", why);
}

}  // namespace

void UseLoopbackDevice(bool on, int sampleRate) {
  useLoopback = on;
  loopbackRate = sampleRate;
}

bool RenderLoopback(float* out, int frames) {
  LPALCRENDERSAMPLESSOFT render = LoopbackRender();
  if (!newestLoopback || !render) return false;
  render(newestLoopback, out, frames);
  return true;
}

void SimulateDeviceLoss() { simulatedLoss = true; }

void UseNoDevice(bool on) {
  noDevice = on;
  if (on) toldSoundOff = false;
}

bool DeviceLossSimulated() { return simulatedLoss; }

std::chrono::steady_clock::time_point DeviceClock() { return std::chrono::steady_clock::now() + clockAdvance; }

void AdvanceDeviceClock(std::chrono::steady_clock::duration by) { clockAdvance += by; }

bool AudioDevice::Open() {
  Close();
  if (noDevice) {
    SaySoundOff("no sound device could be opened");
    return false;
  }
  if (useLoopback) {
    LPALCLOOPBACKOPENDEVICESOFT open = LoopbackOpen();
    device_ = open ? open(nullptr) : nullptr;
    loopback_ = device_ != nullptr;
  } else {
    device_ = alcOpenDevice(nullptr);
    loopback_ = false;
  }
  if (!device_) {
    SaySoundOff("no sound device could be opened");
    return false;
  }
  // Plain stereo panning as DirectSound's NO_VIRTUALIZATION algorithm: no HRTF.
  // No effect sends either (nothing uses them; each voice would carry them),
  // except in the browser, whose OpenAL refuses attributes it does not know.
#ifdef __EMSCRIPTEN__
#define CORVANE_NO_SENDS
#else
#define CORVANE_NO_SENDS ALC_MAX_AUXILIARY_SENDS, 0,
#endif
  const ALCint defaultAttrs[] = {ALC_HRTF_SOFT, ALC_FALSE, CORVANE_NO_SENDS 0};
  const ALCint loopbackAttrs[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                                  ALC_FREQUENCY, loopbackRate, ALC_HRTF_SOFT, ALC_FALSE,
                                  ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE, CORVANE_NO_SENDS 0};
#undef CORVANE_NO_SENDS
  context_ = alcCreateContext(device_, loopback_ ? loopbackAttrs : defaultAttrs);
  if (!context_) {
    alcCloseDevice(device_);
    device_ = nullptr;
    SaySoundOff("the sound device refused a mixing context");
    return false;
  }
  alcMakeContextCurrent(context_);
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  if (loopback_) newestLoopback = device_;
  return true;
}

void AudioDevice::Close() {
  if (context_) {
    if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    context_ = nullptr;
  }
  if (device_) {
    if (device_ == newestLoopback) newestLoopback = nullptr;
    alcCloseDevice(device_);
    device_ = nullptr;
  }
}

void AudioDevice::MakeCurrent() {
  if (context_ && alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
}

bool AudioDevice::Lost() {
  if (!device_) return false;
  if (simulatedLoss) {
    simulatedLoss = false;
    return true;
  }
  if (!alcIsExtensionPresent(device_, "ALC_EXT_disconnect")) return false;
  ALCint connected = ALC_TRUE;
  alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
  return connected == ALC_FALSE;
}

}  // namespace corvane::audio
