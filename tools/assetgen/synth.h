// Small synthesis toolkit for the generated sound set: a seeded random
// source, band-limited oscillators, envelopes, filters, an sfxr-style effect
// voice and the loudness helpers every sound goes through before it is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr double SAMPLE_RATE = 44100.0;
constexpr double PI = 3.14159265358979323846;

// splitmix64: the same numbers on every machine and compiler.
struct SynthRandom {
  uint64_t state;
  explicit SynthRandom(uint64_t seed) : state(seed) {}
  uint64_t Next();
  double Uniform();                 // [0, 1)
  double Range(double lo, double hi);
  double Bipolar() { return Uniform() * 2.0 - 1.0; }
};

// sin(2*pi*phase) from a table; phase in cycles, any value.
double SineOf(double phase);

double NoteFrequency(double midiNote);
double DbToGain(double db);
double GainToDb(double gain);

enum class Wave { Sine, Square, Saw, Triangle, Noise };

// Phase-accumulating oscillator; square and saw are band-limited with polyBLEP
// so high notes and fast sweeps do not alias into whistles.
struct Oscillator {
  Wave wave = Wave::Sine;
  double phase = 0.0;
  double duty = 0.5;
  double noiseValue = 0.0;
  double noiseClock = 0.0;
  SynthRandom* rng = nullptr;
  double Next(double frequency);
};

// Chamberlin state-variable filter (cutoff in Hz, resonance 0..~0.95).
struct StateVariableFilter {
  double low = 0.0, band = 0.0;
  double lastCutoff = -1.0, coefficient = 0.0;  // the sine is only redone when the cutoff moves
  void Process(double input, double cutoff, double resonance, double& lowOut, double& highOut,
               double& bandOut);
  double LowPass(double input, double cutoff, double resonance);
  double HighPass(double input, double cutoff, double resonance);
  double BandPass(double input, double cutoff, double resonance);
};

struct OnePole {
  double state = 0.0;
  double LowPass(double input, double cutoff);
  double HighPass(double input, double cutoff);
};

// Attack/decay/sustain/release in seconds; Level(t, noteLength).
struct Adsr {
  double attack = 0.005, decay = 0.1, sustain = 0.7, release = 0.1;
  double Level(double t, double held) const;
  double Length(double held) const { return held + release; }
};

// Parameters of the effect voice, in musical units rather than 0..1 knobs.
struct SfxParams {
  Wave wave = Wave::Square;
  double duty = 0.5;
  double dutySweep = 0.0;        // duty change per second
  double frequency = 440.0;      // Hz at the start
  double slide = 0.0;            // octaves per second
  double slideAccel = 0.0;       // octaves per second per second
  double minFrequency = 20.0;    // sound ends when the slide falls below
  double vibratoDepth = 0.0;     // semitones
  double vibratoRate = 0.0;      // Hz
  double arpeggioRatio = 1.0;    // frequency multiplier applied once...
  double arpeggioTime = 0.0;     // ...after this many seconds (0: never)
  double repeatTime = 0.0;       // restart pitch settings every this many seconds
  double attack = 0.0;           // seconds
  double sustain = 0.1;
  double punch = 0.0;            // extra level at the start of sustain
  double decay = 0.2;
  double lowPass = 0.0;          // Hz; 0 = open
  double lowPassSweep = 0.0;     // octaves per second
  double resonance = 0.0;
  double highPass = 0.0;         // Hz; 0 = none
  double highPassSweep = 0.0;    // octaves per second
  double flangerDelay = 0.0;     // seconds; 0 = none
  double flangerSweep = 0.0;     // seconds per second
  uint64_t seed = 1;
};

// Renders one sfxr-style voice as mono samples in about -1..1.
std::vector<float> RenderSfx(const SfxParams& p);

// Adds source into target starting at a sample offset, scaled.
void MixInto(std::vector<float>& target, const std::vector<float>& source, size_t offset,
             double gain);

double PeakOf(const std::vector<float>& samples);
// RMS over the loud part of a sound: 50 ms windows within 20 dB of the
// loudest one, so a long quiet tail does not make a sound count as quiet.
double ActiveRms(const std::vector<float>& samples, int channels);

// Scales to an active RMS of rmsDb, but never lets the peak exceed peakDb.
void NormaliseLoudness(std::vector<float>& samples, int channels, double rmsDb, double peakDb);

// Gentle saturation that keeps small signals linear.
double SoftClip(double x);

// Rounds off peaks so none exceeds peakDb; below half that level the signal
// passes unchanged.
void SoftLimit(std::vector<float>& samples, double peakDb);

// Short raised-cosine ramps so a one-shot starts and ends at silence.
void FadeEdges(std::vector<float>& samples, int channels, double fadeIn, double fadeOut);

// Makes a mono or interleaved buffer of frameCount + overlap frames loop:
// the last overlap frames are cross-faded (equal power) into the first ones,
// then dropped, so the end flows into the start.
void CrossfadeLoop(std::vector<float>& samples, int channels, size_t overlapFrames);
