#include "music_sequencer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

constexpr size_t TAIL_SECONDS = 3;

// Interleaved stereo buses: the dry mix and the sends to the two effects.
struct Buses {
  std::vector<float> dry, echo, reverb;
  size_t frames = 0;
};

int PitchClass(char letter) {
  switch (letter) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return -1;
  }
}

// Reads a note name with optional accidental at text[pos]; advances pos.
int ReadPitchClass(const std::string& text, size_t& pos) {
  if (pos >= text.size()) return -1;
  int pc = PitchClass(text[pos]);
  if (pc < 0) return -1;
  ++pos;
  if (pos < text.size() && text[pos] == '#') {
    ++pc;
    ++pos;
  } else if (pos < text.size() && text[pos] == 'b') {
    --pc;
    ++pos;
  }
  return (pc + 12) % 12;
}

void PanGains(double pan, double& left, double& right) {
  double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * 0.25 * PI;
  left = std::cos(angle);
  right = std::sin(angle);
}

void AddMono(std::vector<float>& bus, const float* voice, size_t count, size_t startFrame, double gain,
             double pan) {
  double l, r;
  PanGains(pan, l, r);
  size_t frames = bus.size() / 2;
  for (size_t i = 0; i < count && startFrame + i < frames; ++i) {
    size_t f = (startFrame + i) * 2;
    bus[f] += static_cast<float>(voice[i] * gain * l);
    bus[f + 1] += static_cast<float>(voice[i] * gain * r);
  }
}

void AddMono(std::vector<float>& bus, const std::vector<float>& voice, size_t startFrame, double gain,
             double pan) {
  AddMono(bus, voice.data(), voice.size(), startFrame, gain, pan);
}

// ---------------------------------------------------------------------------
// Voices

struct VoiceParams {
  double frequency;
  double held;       // seconds the key is down
  double velocity;
  double detune;     // cents for this copy
};

double Cents(double cents) { return std::exp2(cents / 1200.0); }

// Renders one note into the front of `out` (grown when needed, never
// shrunk, so notes reuse one buffer); returns the sample count.
size_t RenderVoice(const Instrument& in, const VoiceParams& v, SynthRandom& rng, std::vector<float>& out) {
  double length = in.envelope.Length(v.held);
  bool percussive = in.timbre == Timbre::Pluck || in.timbre == Timbre::Bell;
  if (percussive) length = in.envelope.decay * 4.0;  // about -35 dB, then a short fade
  size_t n = static_cast<size_t>(length * SAMPLE_RATE) + 1;
  if (out.size() < n) out.resize(n);

  Oscillator a, b, c;
  a.phase = rng.Uniform();
  b.phase = rng.Uniform();
  c.phase = rng.Uniform();
  StateVariableFilter filter;
  double f0 = v.frequency * Cents(v.detune);
  double spread = Cents(in.detuneCents);
  double modPhase = 0.0;
  double vibratoPhase = rng.Uniform();

  switch (in.timbre) {
    case Timbre::SoftBass: a.wave = Wave::Sine; b.wave = Wave::Triangle; break;
    case Timbre::DriveBass: a.wave = Wave::Saw; b.wave = Wave::Square; c.wave = Wave::Saw; break;
    case Timbre::AcidBass: a.wave = Wave::Saw; b.wave = Wave::Square; c.wave = Wave::Sine; break;
    case Timbre::PulseLead: a.wave = Wave::Square; b.wave = Wave::Square; a.duty = 0.25; b.duty = 0.3; break;
    case Timbre::SawLead: a.wave = Wave::Saw; b.wave = Wave::Saw; c.wave = Wave::Square; c.duty = 0.5; break;
    case Timbre::BellLead: a.wave = Wave::Sine; b.wave = Wave::Square; b.duty = 0.4; break;
    case Timbre::Pluck: a.wave = Wave::Square; a.duty = 0.125; b.wave = Wave::Saw; break;
    case Timbre::Bell: a.wave = Wave::Sine; b.wave = Wave::Sine; break;
    case Timbre::Pad: a.wave = Wave::Saw; b.wave = Wave::Saw; c.wave = Wave::Saw; break;
    case Timbre::GlassPad: a.wave = Wave::Triangle; b.wave = Wave::Sine; c.wave = Wave::Triangle; break;
  }

  double decayGain = 1.0;
  const double decayStep = std::exp(-1.0 / (in.envelope.decay * SAMPLE_RATE));
  // Pitch and cutoff move at a control rate of one update every 16 samples.
  double f = f0, cutoff = in.cutoff;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    if ((i & 15) == 0) {
      f = f0;
      if (in.vibratoDepth > 0.0 && t > in.vibratoDelay) {
        double depth = in.vibratoDepth * std::min(1.0, (t - in.vibratoDelay) / 0.3);
        f *= std::exp2(depth / 12.0 * std::sin(2.0 * PI * (5.5 * t + vibratoPhase)));
      }
      cutoff = in.cutoffEnv > 0.0 ? in.cutoff * std::exp2(in.cutoffEnv * std::exp(-t / in.cutoffDecay)) : in.cutoff;
    }
    double s = 0.0;
    double amp;
    switch (in.timbre) {
      case Timbre::SoftBass:
        s = a.Next(f) * 0.8 + b.Next(f) * 0.35;
        s = filter.LowPass(s, cutoff, in.resonance);
        break;
      case Timbre::DriveBass:
        s = a.Next(f) * 0.5 + c.Next(f * spread) * 0.4 + b.Next(f * 0.5) * 0.45;
        s = filter.LowPass(s, cutoff, in.resonance);
        break;
      case Timbre::AcidBass:
        s = a.Next(f) * 0.6 + b.Next(f) * 0.3;
        s = filter.LowPass(s, cutoff, in.resonance) + c.Next(f * 0.5) * 0.35;
        break;
      case Timbre::PulseLead:
        a.duty = 0.25 + 0.1 * SineOf(0.7 * t);
        s = a.Next(f) * 0.5 + b.Next(f * spread) * 0.4;
        s = filter.LowPass(s, cutoff, in.resonance);
        break;
      case Timbre::SawLead:
        s = a.Next(f) * 0.45 + b.Next(f * spread) * 0.45 + c.Next(f * 0.5) * 0.2;
        s = filter.LowPass(s, cutoff, in.resonance);
        break;
      case Timbre::BellLead: {
        double index = 1.2 * std::exp(-t / 0.25) + 0.3;
        modPhase += 2.0 * f / SAMPLE_RATE;
        s = SineOf(a.phase + index / (2.0 * PI) * SineOf(modPhase)) * 0.7;
        a.Next(f);
        s += b.Next(f * spread) * 0.2;
        s = filter.LowPass(s, cutoff, in.resonance);
        break;
      }
      case Timbre::Pluck:
        s = a.Next(f) * 0.5 + b.Next(f * spread) * 0.4;
        s = filter.LowPass(s, cutoff, in.resonance);
        break;
      case Timbre::Bell: {
        double index = 2.5 * std::exp(-t / 0.15) + 0.2;
        modPhase += 3.5 * f / SAMPLE_RATE;
        s = SineOf(a.phase + index / (2.0 * PI) * SineOf(modPhase));
        a.Next(f);
        s += 0.25 * b.Next(f * 2.0) * std::exp(-t / 0.3);
        break;
      }
      case Timbre::Pad:
        s = (a.Next(f) + b.Next(f * spread) + c.Next(f / spread)) * 0.33;
        s = filter.LowPass(s, cutoff, in.resonance);
        break;
      case Timbre::GlassPad:
        s = (a.Next(f) * 0.5 + b.Next(f * 2.0 * spread) * 0.25 + c.Next(f / spread) * 0.5);
        s = filter.LowPass(s, cutoff, in.resonance);
        break;
    }
    if (percussive) {
      amp = decayGain;
      decayGain *= decayStep;
      if (t < in.envelope.attack) amp *= t / in.envelope.attack;
      double end = length - 0.01;
      if (t > end) amp *= std::max(0.0, 1.0 - (t - end) / 0.01);
    } else {
      amp = in.envelope.Level(t, v.held);
    }
    out[i] = static_cast<float>(s * amp * v.velocity);
  }
  return n;
}

void AddNote(Buses& buses, const Instrument& in, size_t startFrame, double held, int midi,
             double velocity, SynthRandom& rng) {
  if (midi < 0 || startFrame >= buses.frames) return;
  double frequency = NoteFrequency(midi);
  // Wide instruments spread their notes across the field by pitch, so a
  // chord opens out left to right without rendering each note twice.
  double pan = in.pan + in.width * ((midi % 3) - 1);
  static std::vector<float> voice;
  size_t n = RenderVoice(in, {frequency, held, velocity, 0.0}, rng, voice);
  AddMono(buses.dry, voice.data(), n, startFrame, in.gain, pan);
  if (in.echo > 0) AddMono(buses.echo, voice.data(), n, startFrame, in.gain * in.echo, pan);
  if (in.reverb > 0) AddMono(buses.reverb, voice.data(), n, startFrame, in.gain * in.reverb, -pan);
}

// ---------------------------------------------------------------------------
// Drums, rendered once per piece and mixed in as copies.

struct DrumKit {
  std::vector<float> kick, snare, hat, openHat, crashLeft, crashRight;
};

std::vector<float> RenderKick() {
  size_t n = static_cast<size_t>(0.45 * SAMPLE_RATE);
  std::vector<float> out(n);
  double phase = 0.0;
  SynthRandom rng(77);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double f = 48.0 + 110.0 * std::exp(-t / 0.035);
    phase += f / SAMPLE_RATE;
    double body = SineOf(phase) * std::exp(-t / 0.22);
    double click = t < 0.004 ? rng.Bipolar() * (1.0 - t / 0.004) * 0.35 : 0.0;
    out[i] = static_cast<float>(SoftClip(1.3 * body) + click);
  }
  FadeEdges(out, 1, 0.0005, 0.03);
  return out;
}

std::vector<float> RenderSnare(uint64_t seed) {
  size_t n = static_cast<size_t>(0.32 * SAMPLE_RATE);
  std::vector<float> out(n);
  SynthRandom rng(seed);
  StateVariableFilter hp;
  double phase = 0.0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double noise = hp.HighPass(rng.Bipolar(), 1200.0, 0.1) * std::exp(-t / 0.09);
    phase += (185.0 + 60.0 * std::exp(-t / 0.01)) / SAMPLE_RATE;
    double body = SineOf(phase) * std::exp(-t / 0.05);
    out[i] = static_cast<float>(0.7 * noise + 0.6 * body);
  }
  FadeEdges(out, 1, 0.0005, 0.03);
  return out;
}

std::vector<float> RenderHat(uint64_t seed, double decay, double seconds, double cutoff) {
  size_t n = static_cast<size_t>(seconds * SAMPLE_RATE);
  std::vector<float> out(n);
  SynthRandom rng(seed);
  StateVariableFilter hp1, hp2;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double s = hp2.HighPass(hp1.HighPass(rng.Bipolar(), cutoff, 0.3), cutoff, 0.1);
    out[i] = static_cast<float>(s * std::exp(-t / decay) * 0.8);
  }
  FadeEdges(out, 1, 0.0003, 0.01);
  return out;
}

DrumKit MakeDrumKit(uint64_t seed) {
  DrumKit kit;
  kit.kick = RenderKick();
  kit.snare = RenderSnare(seed + 1);
  kit.hat = RenderHat(seed + 2, 0.035, 0.12, 7500.0);
  kit.openHat = RenderHat(seed + 3, 0.22, 0.6, 6500.0);
  kit.crashLeft = RenderHat(seed + 4, 0.7, 2.2, 4200.0);
  kit.crashRight = RenderHat(seed + 5, 0.75, 2.2, 4400.0);
  return kit;
}

double StepVelocity(char c) {
  switch (c) {
    case 'X': return 1.0;
    case 'x': return 0.75;
    case 'o': return 0.4;
    default: return 0.0;
  }
}

// ---------------------------------------------------------------------------
// Effects that run round the loop twice so their state at the start is the
// state they reach at the end.

void EchoLoop(const std::vector<float>& send, std::vector<float>& out, size_t frames, size_t delay,
              double feedback) {
  std::vector<double> left(delay, 0.0), right(delay, 0.0);
  OnePole damp;
  size_t slot = 0;
  for (size_t lap = 0; lap < 2; ++lap) {
    for (size_t f = 0; f < frames; ++f, slot = slot + 1 == delay ? 0 : slot + 1) {
      double outL = left[slot], outR = right[slot];
      double in = 0.5 * (send[f * 2] + send[f * 2 + 1]);
      left[slot] = in + feedback * damp.LowPass(outR, 3500.0);
      right[slot] = outL;
      if (lap == 1) {
        out[f * 2] += static_cast<float>(outL);
        out[f * 2 + 1] += static_cast<float>(outR);
      }
    }
  }
}

struct Comb {
  std::vector<double> line;
  size_t pos = 0;
  double store = 0.0;
  double Process(double in, double feedback, double damping) {
    double y = line[pos];
    store = y * (1.0 - damping) + store * damping;
    line[pos] = in + store * feedback;
    if (++pos == line.size()) pos = 0;
    return y;
  }
};

struct Allpass {
  std::vector<double> line;
  size_t pos = 0;
  double Process(double in) {
    double y = line[pos];
    line[pos] = in + y * 0.5;
    if (++pos == line.size()) pos = 0;
    return y - in;
  }
};

void ReverbLoop(const std::vector<float>& send, std::vector<float>& out, size_t frames, double size) {
  static const size_t combLengths[4] = {1116, 1277, 1422, 1557};
  static const size_t allpassLengths[2] = {556, 441};
  for (int ch = 0; ch < 2; ++ch) {
    size_t spread = ch == 0 ? 0 : 23;
    Comb combs[4];
    Allpass passes[2];
    for (int i = 0; i < 4; ++i) combs[i].line.assign(combLengths[i] + spread, 0.0);
    for (int i = 0; i < 2; ++i) passes[i].line.assign(allpassLengths[i] + spread, 0.0);
    double feedback = 0.7 + 0.28 * size;
    for (size_t lap = 0; lap < 2; ++lap) {
      for (size_t f = 0; f < frames; ++f) {
        double in = send[f * 2 + ch] * 0.2;
        double y = 0.0;
        for (Comb& c : combs) y += c.Process(in, feedback, 0.3);
        for (Allpass& a : passes) y = a.Process(y);
        if (lap == 1) out[f * 2 + ch] += static_cast<float>(y);
      }
    }
  }
}

// Sample position of each 16th step.
struct Grid {
  double rowFrames;
  size_t At(int row) const { return static_cast<size_t>(std::llround(row * rowFrames)); }
};

// Folds everything past the loop end back onto the start.
void WrapTail(std::vector<float>& bus, size_t loopFrames) {
  for (size_t i = loopFrames * 2; i < bus.size(); ++i) bus[i - loopFrames * 2] += bus[i];
  bus.resize(loopFrames * 2);
}

// ---------------------------------------------------------------------------
// Arrangement

struct Chord {
  int root = 0;
  int bass = 0;
  std::vector<int> intervals;
};

Chord ChordAt(const PieceSpec& p, const std::vector<Chord>& chart, int bar, int step) {
  if (chart.size() == static_cast<size_t>(p.bars) * 2) return chart[bar * 2 + (step >= 8 ? 1 : 0)];
  return chart[bar % chart.size()];
}

int BassNote(const PieceSpec& p, const Chord& c, char step) {
  int base = p.bassOctave + ((c.bass - p.bassOctave) % 12 + 12) % 12;
  int root = p.bassOctave + ((c.root - p.bassOctave) % 12 + 12) % 12;
  switch (step) {
    case 'r': return base;
    case 'o': return base + 12;
    case 'f': return root + (c.intervals.size() > 2 ? c.intervals[2] : 7);
    case 't': return root + (c.intervals.size() > 1 ? c.intervals[1] : 4);
    case 's': return root + (c.intervals.size() > 3 ? c.intervals[3] : 10);
    default: return -1;
  }
}

// How many steps a note at step lasts: itself plus following '-' holds.
int HoldLength(const std::string& pattern, int step) {
  int len = 1;
  while (step + len < 16 && pattern[step + len] == '-') ++len;
  return len;
}

char MapAt(const std::string& map, int bar) {
  if (map.empty()) return '0';
  return map[bar % map.size()];
}

void ArrangeBass(const PieceSpec& p, const std::vector<Chord>& chart, Buses& b, double rowSec,
                 const Grid& grid, SynthRandom& rng) {
  for (int bar = 0; bar < p.bars; ++bar) {
    char m = MapAt(p.bassMap, bar);
    if (m == '0') continue;
    const std::string& pat = (m == '2' && !p.bassAlt.empty()) ? p.bassAlt : p.bassMain;
    for (int s = 0; s < 16; ++s) {
      int note = BassNote(p, ChordAt(p, chart, bar, s), pat[s]);
      if (note < 0) continue;
      double held = HoldLength(pat, s) * rowSec * 0.82;
      double vel = (s % 4 == 0) ? 1.0 : 0.82;
      AddNote(b, p.bass, grid.At(bar * 16 + s), held, note, vel, rng);
    }
  }
}

std::vector<int> PadVoicing(const PieceSpec& p, const Chord& c) {
  std::vector<int> notes;
  for (int iv : c.intervals) {
    int pc = (c.root + iv) % 12;
    int note = p.padCentre - 7 + ((pc - (p.padCentre - 7)) % 12 + 12) % 12;
    notes.push_back(note);
  }
  std::sort(notes.begin(), notes.end());
  notes.erase(std::unique(notes.begin(), notes.end()), notes.end());
  return notes;
}

void ArrangePads(const PieceSpec& p, const std::vector<Chord>& chart, Buses& b, double rowSec,
                 const Grid& grid, SynthRandom& rng) {
  bool halves = chart.size() == static_cast<size_t>(p.bars) * 2;
  for (int bar = 0; bar < p.bars; ++bar) {
    char m = MapAt(p.padMap, bar);
    if (m == '0') continue;
    for (int half = 0; half < (halves ? 2 : 1); ++half) {
      int step = half * 8;
      Chord c = ChordAt(p, chart, bar, step);
      double held = (halves ? 8 : 16) * rowSec;
      for (int note : PadVoicing(p, c))
        AddNote(b, p.pad, grid.At(bar * 16 + step), held, note, m == '2' ? 0.6 : 1.0, rng);
    }
  }
}

void ArrangeArpeggio(const PieceSpec& p, const std::vector<Chord>& chart, Buses& b, double rowSec,
                     const Grid& grid, SynthRandom& rng) {
  for (int bar = 0; bar < p.bars; ++bar) {
    char m = MapAt(p.arpMap, bar);
    if (m == '0') continue;
    const std::string& pat = (m == '2' && !p.arpAlt.empty()) ? p.arpAlt : p.arpMain;
    for (int s = 0; s < 16; ++s) {
      if (pat[s] < '0' || pat[s] > '9') continue;
      Chord c = ChordAt(p, chart, bar, s);
      std::vector<int> tones;
      for (int octave = 0; tones.size() < 10; octave += 12)
        for (int iv : c.intervals) {
          int pc = (c.root + iv) % 12;
          tones.push_back(p.arpBase + ((pc - p.arpBase) % 12 + 12) % 12 + octave);
        }
      std::sort(tones.begin(), tones.end());
      int note = tones[std::min<size_t>(pat[s] - '0', tones.size() - 1)];
      double held = HoldLength(pat, s) * rowSec * 0.7;
      double vel = (s % 4 == 0 ? 1.0 : 0.75) * (0.92 + 0.08 * rng.Uniform());
      AddNote(b, p.arp, grid.At(bar * 16 + s), held, note, vel, rng);
    }
  }
}

void ArrangeMelody(const PieceSpec& p, const std::string& text, const Instrument& in, bool counter,
                   Buses& b, double rowSec, const Grid& grid, SynthRandom& rng) {
  std::vector<MelodyNote> line;
  if (text.empty()) return;
  if (!ParseMelody(text, line) || line.empty()) {
    std::fprintf(stderr, "assetgen: %s: melody not understood, left out\n", p.file.c_str());
    return;
  }
  int lineRows = line.back().row + line.back().length;
  if (lineRows % 16 != 0)
    std::fprintf(stderr, "assetgen: %s: melody is %d steps, not whole bars\n", p.file.c_str(), lineRows);
  int totalRows = p.bars * 16;
  for (int start = 0; start < totalRows; start += lineRows) {
    for (const MelodyNote& n : line) {
      int row = start + n.row;
      if (row >= totalRows || n.midi < 0) continue;
      char m = MapAt(p.leadMap, row / 16);
      if (m == '0' || (counter && m != '2')) continue;
      double held = n.length * rowSec * 0.92;
      double vel = (row % 4 == 0 ? 1.0 : 0.85);
      AddNote(b, in, grid.At(row), held, n.midi, vel, rng);
    }
  }
}

void ArrangeDrums(const PieceSpec& p, const DrumKit& kit, Buses& b, const Grid& grid, SynthRandom& rng) {
  for (int bar = 0; bar < p.bars; ++bar) {
    char m = MapAt(p.drumMap, bar);
    if (m == '0') continue;
    bool fill = m == '2';
    auto pick = [&](const std::string& main, const std::string& alt) -> const std::string& {
      return fill && !alt.empty() ? alt : main;
    };
    const std::string& kick = pick(p.kickMain, p.kickFill);
    const std::string& snare = pick(p.snareMain, p.snareFill);
    const std::string& hat = pick(p.hatMain, p.hatFill);
    const std::string& open = pick(p.openHatMain, p.openHatFill);
    for (int s = 0; s < 16; ++s) {
      size_t at = grid.At(bar * 16 + s);
      double human = 0.9 + 0.1 * rng.Uniform();
      double g = p.drumGain;
      if (s < static_cast<int>(kick.size()) && StepVelocity(kick[s]) > 0)
        AddMono(b.dry, kit.kick, at, 0.55 * g * StepVelocity(kick[s]), 0.0);
      if (s < static_cast<int>(snare.size()) && StepVelocity(snare[s]) > 0) {
        AddMono(b.dry, kit.snare, at, 0.38 * g * StepVelocity(snare[s]) * human, 0.05);
        AddMono(b.reverb, kit.snare, at, 0.12 * g * StepVelocity(snare[s]), 0.0);
      }
      if (s < static_cast<int>(hat.size()) && StepVelocity(hat[s]) > 0)
        AddMono(b.dry, kit.hat, at, 0.2 * g * StepVelocity(hat[s]) * human, 0.3);
      if (s < static_cast<int>(open.size()) && StepVelocity(open[s]) > 0)
        AddMono(b.dry, kit.openHat, at, 0.16 * g * StepVelocity(open[s]) * human, -0.25);
    }
    bool phraseStart = bar % 4 == 0;
    if (p.crashOnPhrase && phraseStart) {
      size_t at = grid.At(bar * 16);
      AddMono(b.dry, kit.crashLeft, at, 0.1 * p.drumGain, -0.7);
      AddMono(b.dry, kit.crashRight, at, 0.1 * p.drumGain, 0.7);
    }
  }
}

}  // namespace

bool ParseChord(const std::string& symbol, int& root, std::vector<int>& intervals) {
  size_t pos = 0;
  root = ReadPitchClass(symbol, pos);
  if (root < 0) return false;
  std::string rest = symbol.substr(pos);
  size_t slash = rest.find('/');
  std::string quality = rest.substr(0, slash);
  static const std::pair<const char*, std::vector<int>> table[] = {
      {"", {0, 4, 7}},          {"m", {0, 3, 7}},          {"7", {0, 4, 7, 10}},
      {"maj7", {0, 4, 7, 11}},  {"m7", {0, 3, 7, 10}},     {"sus4", {0, 5, 7}},
      {"sus2", {0, 2, 7}},      {"add9", {0, 4, 7, 14}},   {"madd9", {0, 3, 7, 14}},
      {"dim", {0, 3, 6}},       {"6", {0, 4, 7, 9}},       {"m6", {0, 3, 7, 9}},
      {"5", {0, 7}},            {"maj9", {0, 4, 7, 11, 14}}, {"m9", {0, 3, 7, 10, 14}},
  };
  for (const auto& [name, ivs] : table) {
    if (quality == name) {
      intervals = ivs;
      return true;
    }
  }
  return false;
}

bool ParseMelody(const std::string& text, std::vector<MelodyNote>& notes) {
  notes.clear();
  std::istringstream in(text);
  std::string token;
  int row = 0;
  while (in >> token) {
    size_t colon = token.find(':');
    if (colon == std::string::npos || colon + 1 >= token.size()) return false;
    int length = 0;
    for (size_t i = colon + 1; i < token.size(); ++i) {
      if (token[i] < '0' || token[i] > '9') return false;
      length = length * 10 + (token[i] - '0');
    }
    if (length <= 0) return false;
    int midi = -1;
    if (token.substr(0, colon) != "-") {
      size_t pos = 0;
      int pc = ReadPitchClass(token, pos);
      // Cb and B# keep their written octave's meaning.
      int octaveShift = (token[0] == 'C' && pc == 11) ? -1 : (token[0] == 'B' && pc == 0) ? 1 : 0;
      if (pc < 0 || pos + 1 != colon || token[pos] < '0' || token[pos] > '8') return false;
      midi = (token[pos] - '0' + 1 + octaveShift) * 12 + pc;
    }
    notes.push_back({row, length, midi});
    row += length;
  }
  return true;
}

RenderedLoop RenderPiece(const PieceSpec& p) {
  RenderedLoop loop;
  double rowExact = SAMPLE_RATE * 60.0 / (p.bpm * 4.0);
  // Steps may fall between samples (each note starts on the nearest one),
  // but the loop as a whole must be a whole number of samples.
  Grid grid{rowExact};
  double loopExact = rowExact * 16 * p.bars;
  if (std::fabs(loopExact - std::round(loopExact)) > 1e-6)
    std::fprintf(stderr, "assetgen: %s: %.3f bpm does not give a whole-sample loop\n", p.file.c_str(), p.bpm);
  double rowSec = rowExact / SAMPLE_RATE;
  size_t loopFrames = grid.At(16 * p.bars);
  size_t tailFrames = static_cast<size_t>(TAIL_SECONDS * SAMPLE_RATE);

  std::vector<Chord> chart;
  for (const std::string& symbol : p.chords) {
    Chord c;
    std::string main = symbol.substr(0, symbol.find('/'));
    if (!ParseChord(main, c.root, c.intervals)) {
      std::fprintf(stderr, "assetgen: %s: unknown chord %s\n", p.file.c_str(), symbol.c_str());
      c.root = 0;
      c.intervals = {0, 4, 7};
    }
    c.bass = c.root;
    size_t slash = symbol.find('/');
    if (slash != std::string::npos) {
      size_t pos = slash + 1;
      int bass = ReadPitchClass(symbol, pos);
      if (bass >= 0) c.bass = bass;
    }
    chart.push_back(c);
  }
  if (chart.empty()) chart.push_back({0, 0, {0, 4, 7}});

  Buses buses;
  buses.frames = loopFrames + tailFrames;
  buses.dry.assign(buses.frames * 2, 0.0f);
  buses.echo.assign(buses.frames * 2, 0.0f);
  buses.reverb.assign(buses.frames * 2, 0.0f);

  SynthRandom rng(p.seed);
  ArrangePads(p, chart, buses, rowSec, grid, rng);
  ArrangeBass(p, chart, buses, rowSec, grid, rng);
  ArrangeArpeggio(p, chart, buses, rowSec, grid, rng);
  ArrangeMelody(p, p.melody, p.lead, false, buses, rowSec, grid, rng);
  ArrangeMelody(p, p.counterMelody, p.counter, true, buses, rowSec, grid, rng);
  ArrangeDrums(p, MakeDrumKit(p.seed * 31 + 7), buses, grid, rng);

  WrapTail(buses.dry, loopFrames);
  WrapTail(buses.echo, loopFrames);
  WrapTail(buses.reverb, loopFrames);
  size_t echoFrames = static_cast<size_t>(std::llround(p.echoRows * rowExact));
  EchoLoop(buses.echo, buses.dry, loopFrames, std::max<size_t>(echoFrames, 1), p.echoFeedback);
  ReverbLoop(buses.reverb, buses.dry, loopFrames, p.reverbSize);

  // Remove DC over the whole loop (exact, so the seam is untouched), then
  // saturate lightly and set the loudness.
  for (int ch = 0; ch < 2; ++ch) {
    double mean = 0.0;
    for (size_t f = 0; f < loopFrames; ++f) mean += buses.dry[f * 2 + ch];
    mean /= static_cast<double>(loopFrames);
    for (size_t f = 0; f < loopFrames; ++f) buses.dry[f * 2 + ch] -= static_cast<float>(mean);
  }
  double peak = PeakOf(buses.dry);
  if (peak > 0.0)
    for (float& s : buses.dry) s = static_cast<float>(SoftClip(s / peak * 1.1) / SoftClip(1.1));
  NormaliseLoudness(buses.dry, 2, p.rmsDb, -1.5);

  loop.samples = std::move(buses.dry);
  loop.frames = loopFrames;
  loop.seconds = static_cast<double>(loopFrames) / SAMPLE_RATE;
  return loop;
}
