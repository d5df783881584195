#include "synth.h"

#include <algorithm>
#include <cmath>

uint64_t SynthRandom::Next() {
  state += 0x9E3779B97F4A7C15ull;
  uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double SynthRandom::Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

double SynthRandom::Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

namespace {

constexpr int SINE_TABLE_SIZE = 8192;

const std::vector<double>& SineTable() {
  static const std::vector<double> table = [] {
    std::vector<double> t(SINE_TABLE_SIZE + 1);
    for (int i = 0; i <= SINE_TABLE_SIZE; ++i) t[i] = std::sin(2.0 * PI * i / SINE_TABLE_SIZE);
    return t;
  }();
  return table;
}

}  // namespace

double SineOf(double phase) {
  const std::vector<double>& table = SineTable();
  double x = (phase - std::floor(phase)) * SINE_TABLE_SIZE;
  int i = static_cast<int>(x);
  double frac = x - i;
  return table[i] + (table[i + 1] - table[i]) * frac;
}

double NoteFrequency(double midiNote) { return 440.0 * std::exp2((midiNote - 69.0) / 12.0); }

double DbToGain(double db) { return std::pow(10.0, db / 20.0); }

double GainToDb(double gain) { return 20.0 * std::log10(std::max(gain, 1e-12)); }

namespace {

// Residual that removes the step discontinuity of a naive saw/square.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

double Oscillator::Next(double frequency) {
  double dt = std::clamp(frequency / SAMPLE_RATE, 0.0, 0.5);
  double out = 0.0;
  switch (wave) {
    case Wave::Sine:
      out = SineOf(phase);
      break;
    case Wave::Saw:
      out = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
      break;
    case Wave::Square: {
      double d = std::clamp(duty, 0.02, 0.98);
      out = phase < d ? 1.0 : -1.0;
      out += PolyBlep(phase, dt);
      double shifted = phase - d;
      if (shifted < 0.0) shifted += 1.0;
      out -= PolyBlep(shifted, dt);
      out -= 2.0 * d - 1.0;  // remove the DC of uneven duty
      break;
    }
    case Wave::Triangle:
      out = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
      break;
    case Wave::Noise: {
      // Sample-and-hold noise clocked 32 times a period, as in sfxr: low
      // pitches rumble, high ones hiss.
      noiseClock += frequency * 32.0 / SAMPLE_RATE;
      if (noiseClock >= 1.0 || rng == nullptr) {
        noiseClock -= std::floor(noiseClock);
        noiseValue = rng ? rng->Bipolar() : 0.0;
      }
      out = noiseValue;
      break;
    }
  }
  phase += dt;
  if (phase >= 1.0) phase -= std::floor(phase);
  return out;
}

void StateVariableFilter::Process(double input, double cutoff, double resonance, double& lowOut,
                                  double& highOut, double& bandOut) {
  if (cutoff != lastCutoff) {
    lastCutoff = cutoff;
    coefficient = 2.0 * std::sin(PI * std::clamp(cutoff, 10.0, SAMPLE_RATE / 6.0) / SAMPLE_RATE);
  }
  double f = coefficient;
  double q = 1.0 - std::clamp(resonance, 0.0, 0.97);
  low += f * band;
  double high = input - low - q * band;
  band += f * high;
  lowOut = low;
  highOut = high;
  bandOut = band;
}

double StateVariableFilter::LowPass(double input, double cutoff, double resonance) {
  double l, h, b;
  Process(input, cutoff, resonance, l, h, b);
  return l;
}

double StateVariableFilter::HighPass(double input, double cutoff, double resonance) {
  double l, h, b;
  Process(input, cutoff, resonance, l, h, b);
  return h;
}

double StateVariableFilter::BandPass(double input, double cutoff, double resonance) {
  double l, h, b;
  Process(input, cutoff, resonance, l, h, b);
  return b;
}

double OnePole::LowPass(double input, double cutoff) {
  double a = 1.0 - std::exp(-2.0 * PI * cutoff / SAMPLE_RATE);
  state += a * (input - state);
  return state;
}

double OnePole::HighPass(double input, double cutoff) { return input - LowPass(input, cutoff); }

double Adsr::Level(double t, double held) const {
  auto gate = [&](double x) {
    if (x < attack) return x / attack;
    x -= attack;
    if (x < decay) return 1.0 - (1.0 - sustain) * (x / decay);
    return sustain;
  };
  if (t < 0.0) return 0.0;
  if (t < held) return gate(t);
  double r = t - held;
  if (r >= release) return 0.0;
  return gate(held) * (1.0 - r / release);
}

std::vector<float> RenderSfx(const SfxParams& p) {
  SynthRandom rng(p.seed);
  Oscillator osc;
  osc.wave = p.wave;
  osc.rng = &rng;
  StateVariableFilter lp;
  OnePole hp;
  double total = p.attack + p.sustain + p.decay;
  size_t n = static_cast<size_t>(total * SAMPLE_RATE) + 1;
  std::vector<float> out(n, 0.0f);
  std::vector<double> flanger(4096, 0.0);

  double logFreq = std::log2(p.frequency);
  double slide = p.slide;
  double sinceRepeat = 0.0;
  bool arpeggioDone = false;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    if (p.repeatTime > 0.0 && sinceRepeat >= p.repeatTime) {
      sinceRepeat = 0.0;
      logFreq = std::log2(p.frequency);
      slide = p.slide;
      arpeggioDone = false;
    }
    if (!arpeggioDone && p.arpeggioTime > 0.0 && sinceRepeat >= p.arpeggioTime) {
      logFreq += std::log2(p.arpeggioRatio);
      arpeggioDone = true;
    }
    slide += p.slideAccel / SAMPLE_RATE;
    logFreq += slide / SAMPLE_RATE;
    sinceRepeat += 1.0 / SAMPLE_RATE;
    double freq = std::exp2(logFreq);
    if (freq < p.minFrequency) {
      out.resize(i);
      break;
    }
    if (p.vibratoDepth > 0.0)
      freq *= std::exp2(p.vibratoDepth / 12.0 * std::sin(2.0 * PI * p.vibratoRate * t));
    osc.duty = p.duty + p.dutySweep * t;

    double env;
    if (t < p.attack) {
      env = t / p.attack;
    } else if (t < p.attack + p.sustain) {
      double s = (t - p.attack) / p.sustain;
      env = 1.0 + p.punch * (1.0 - s);
    } else {
      double d = (t - p.attack - p.sustain) / p.decay;
      env = std::max(0.0, 1.0 - d);
      env *= env;
    }

    double v = osc.Next(freq);
    if (p.lowPass > 0.0)
      v = lp.LowPass(v, p.lowPass * std::exp2(p.lowPassSweep * t), p.resonance);
    if (p.highPass > 0.0) v = hp.HighPass(v, p.highPass * std::exp2(p.highPassSweep * t));
    if (p.flangerDelay > 0.0) {
      flanger[i % flanger.size()] = v;
      double d = std::clamp(p.flangerDelay + p.flangerSweep * t, 0.0, 0.09);
      size_t lag = std::min(static_cast<size_t>(d * SAMPLE_RATE), flanger.size() - 1);
      if (i >= lag) v += flanger[(i - lag) % flanger.size()];
    }
    out[i] = static_cast<float>(v * env);
  }
  return out;
}

void MixInto(std::vector<float>& target, const std::vector<float>& source, size_t offset,
             double gain) {
  if (target.size() < offset + source.size()) target.resize(offset + source.size(), 0.0f);
  for (size_t i = 0; i < source.size(); ++i)
    target[offset + i] += static_cast<float>(source[i] * gain);
}

double PeakOf(const std::vector<float>& samples) {
  double peak = 0.0;
  for (float s : samples) peak = std::max(peak, static_cast<double>(std::fabs(s)));
  return peak;
}

double ActiveRms(const std::vector<float>& samples, int channels) {
  size_t window = static_cast<size_t>(0.05 * SAMPLE_RATE) * channels;
  std::vector<double> energies;
  for (size_t start = 0; start < samples.size(); start += window) {
    size_t end = std::min(samples.size(), start + window);
    double sum = 0.0;
    for (size_t i = start; i < end; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    energies.push_back(sum / static_cast<double>(end - start));
  }
  if (energies.empty()) return 0.0;
  double loudest = *std::max_element(energies.begin(), energies.end());
  double sum = 0.0;
  int count = 0;
  for (double e : energies) {
    if (e >= loudest * 0.01) {  // within 20 dB
      sum += e;
      ++count;
    }
  }
  return std::sqrt(sum / count);
}

void NormaliseLoudness(std::vector<float>& samples, int channels, double rmsDb, double peakDb) {
  double rms = ActiveRms(samples, channels);
  double peak = PeakOf(samples);
  if (rms <= 0.0 || peak <= 0.0) return;
  double gain = std::min(DbToGain(rmsDb) / rms, DbToGain(peakDb) / peak);
  for (float& s : samples) s = static_cast<float>(s * gain);
}

double SoftClip(double x) {
  // Linear below 0.5, then a tanh knee that approaches 1.
  double a = std::fabs(x);
  if (a <= 0.5) return x;
  double y = 0.5 + 0.5 * std::tanh((a - 0.5) / 0.5);
  return x < 0.0 ? -y : y;
}

void SoftLimit(std::vector<float>& samples, double peakDb) {
  double ceiling = DbToGain(peakDb);
  for (float& s : samples) s = static_cast<float>(ceiling * SoftClip(s / ceiling));
}

void FadeEdges(std::vector<float>& samples, int channels, double fadeIn, double fadeOut) {
  size_t frames = samples.size() / channels;
  size_t in = std::min(frames, static_cast<size_t>(fadeIn * SAMPLE_RATE));
  size_t out = std::min(frames, static_cast<size_t>(fadeOut * SAMPLE_RATE));
  for (size_t f = 0; f < in; ++f) {
    double g = 0.5 - 0.5 * std::cos(PI * static_cast<double>(f) / in);
    for (int c = 0; c < channels; ++c) samples[f * channels + c] *= static_cast<float>(g);
  }
  for (size_t k = 0; k < out; ++k) {
    size_t f = frames - 1 - k;
    double g = 0.5 - 0.5 * std::cos(PI * static_cast<double>(k) / out);
    for (int c = 0; c < channels; ++c) samples[f * channels + c] *= static_cast<float>(g);
  }
}

void CrossfadeLoop(std::vector<float>& samples, int channels, size_t overlapFrames) {
  size_t frames = samples.size() / channels;
  size_t loopFrames = frames - overlapFrames;
  for (size_t f = 0; f < overlapFrames; ++f) {
    double x = (static_cast<double>(f) + 0.5) / overlapFrames;
    double fadeIn = std::sin(0.5 * PI * x);
    double fadeOut = std::cos(0.5 * PI * x);
    for (int c = 0; c < channels; ++c) {
      size_t head = f * channels + c;
      size_t tail = (loopFrames + f) * channels + c;
      samples[head] = static_cast<float>(samples[head] * fadeIn + samples[tail] * fadeOut);
    }
  }
  samples.resize(loopFrames * channels);
}
