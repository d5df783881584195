// The OpenAL Soft device and context behind one DirectSound object: the
// default output (no HRTF), or for tests a loopback device that renders the
// mix into memory.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <chrono>

namespace corvane::audio {

// Test hooks. While on, DirectSound objects open a loopback device (stereo,
// 32-bit float, `sampleRate`, no limiter) instead of the default output.
void UseLoopbackDevice(bool on, int sampleRate = 44100);
// Renders `frames` stereo frames of the newest loopback device's mix into
// `out` (2 * frames floats). False when no loopback device is open.
bool RenderLoopback(float* out, int frames);
// Makes the next connection check report the device as gone, as if it had
// been unplugged, so sound is reopened with every buffer's state.
void SimulateDeviceLoss();
// While on, opening a device fails as on a machine without sound; turning it
// on also lets the "sound is off" note be said again.
void UseNoDevice(bool on);
bool DeviceLossSimulated();
// The clock by which the device is checked and a lost one looked for again;
// tests move it on instead of waiting.
std::chrono::steady_clock::time_point DeviceClock();
void AdvanceDeviceClock(std::chrono::steady_clock::duration by);

class AudioDevice {
 public:
  // Opens the output; false (and a note on stderr, once per run) without one.
  bool Open();
  void Close();
  bool Active() const { return context_ != nullptr; }
  // Makes this device's context current for the AL calls that follow.
  void MakeCurrent();
  // True once the device has disconnected (ALC_EXT_disconnect).
  bool Lost();

 private:
  ALCdevice* device_ = nullptr;
  ALCcontext* context_ = nullptr;
  bool loopback_ = false;
};

}  // namespace corvane::audio
