// The game's sound effects, each synthesised from a few voices, plus the
// music loops (music_pieces.cpp). Every effect is mono; looping ones are
// cross-faded into themselves, one-shots start and end at silence.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "app/asset_table.h"
#include "assetgen.h"
#include "music_sequencer.h"
#include "synth.h"
#include "wav_writer.h"

namespace {

constexpr double EFFECT_RMS_DB = -14.0;
constexpr double EFFECT_PEAK_DB = -1.0;

std::vector<float> Silence(double seconds) {
  return std::vector<float>(static_cast<size_t>(seconds * SAMPLE_RATE), 0.0f);
}

size_t At(double seconds) { return static_cast<size_t>(seconds * SAMPLE_RATE); }

// One note of a simple bell: inharmonic sine partials with their own decays.
std::vector<float> BellTone(double frequency, double seconds, double brightness) {
  std::vector<float> out = Silence(seconds);
  const double ratios[4] = {1.0, 2.76, 5.4, 8.93};
  const double decays[4] = {0.6, 0.3, 0.15, 0.07};
  for (int k = 0; k < 4; ++k) {
    double amp = k == 0 ? 1.0 : brightness / k;
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
      double t = static_cast<double>(i) / SAMPLE_RATE;
      phase += frequency * ratios[k] / SAMPLE_RATE;
      out[i] += static_cast<float>(amp * SineOf(phase) * std::exp(-t / (decays[k] * seconds)));
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Menu

std::vector<float> CursorTick() {
  SfxParams p;
  p.wave = Wave::Square;
  p.duty = 0.25;
  p.frequency = 1250.0;
  p.slide = 3.0;
  p.sustain = 0.012;
  p.decay = 0.045;
  p.lowPass = 5000.0;
  p.seed = 11;
  std::vector<float> s = RenderSfx(p);
  SfxParams click;
  click.wave = Wave::Noise;
  click.frequency = 2500.0;
  click.sustain = 0.002;
  click.decay = 0.012;
  click.seed = 12;
  MixInto(s, RenderSfx(click), 0, 0.4);
  return s;
}

std::vector<float> MenuConfirm() {
  std::vector<float> s;
  const double notes[3] = {76, 83, 88};  // E5 B5 E6
  for (int i = 0; i < 3; ++i) {
    SfxParams p;
    p.wave = Wave::Square;
    p.duty = 0.5;
    p.dutySweep = -0.8;
    p.frequency = NoteFrequency(notes[i]);
    p.sustain = 0.04;
    p.punch = 0.6;
    p.decay = i == 2 ? 0.35 : 0.08;
    p.lowPass = 7000.0;
    p.seed = 20 + i;
    MixInto(s, RenderSfx(p), At(0.055 * i), 0.7);
  }
  std::vector<float> sparkle = BellTone(NoteFrequency(100), 0.5, 0.5);
  MixInto(s, sparkle, At(0.11), 0.2);
  return s;
}

// ---------------------------------------------------------------------------
// Flight

std::vector<float> EngineHum() {
  const double seconds = 2.0, overlap = 0.3;
  std::vector<float> s = Silence(seconds + overlap);
  SynthRandom rng(31);
  Oscillator a, b, n;
  a.wave = Wave::Saw;
  b.wave = Wave::Square;
  b.duty = 0.3;
  n.wave = Wave::Noise;
  n.rng = &rng;
  StateVariableFilter lp, nlp;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double wobble = 1.0 + 0.01 * std::sin(2.0 * PI * 1.5 * t);
    double tone = a.Next(55.0 * wobble) * 0.6 + b.Next(110.5 * wobble) * 0.3;
    tone = lp.LowPass(tone, 420.0, 0.4);
    double hiss = nlp.BandPass(n.Next(600.0), 900.0, 0.5) * 0.25;
    s[i] = static_cast<float>(tone + hiss);
  }
  CrossfadeLoop(s, 1, At(overlap));
  return s;
}

std::vector<float> BoostWhoosh() {
  std::vector<float> s = Silence(0.9);
  SynthRandom rng(41);
  StateVariableFilter bp;
  Oscillator tone;
  tone.wave = Wave::Saw;
  StateVariableFilter tlp;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double centre = 300.0 * std::exp2(4.0 * std::min(t / 0.35, 1.0)) * std::exp2(-2.0 * std::max(0.0, t - 0.35));
    double env = std::min(1.0, t / 0.05) * std::exp(-std::max(0.0, t - 0.25) / 0.18);
    double noise = bp.BandPass(rng.Bipolar(), centre, 0.6);
    double rise = tlp.LowPass(tone.Next(90.0 * std::exp2(1.5 * std::min(t / 0.3, 1.0))), 900.0, 0.5);
    s[i] = static_cast<float>((noise * 1.4 + rise * 0.35) * env);
  }
  return s;
}

std::vector<float> WindLoop() {
  const double seconds = 4.0, overlap = 0.5;
  std::vector<float> s = Silence(seconds + overlap);
  SynthRandom rng(51);
  StateVariableFilter bp1, bp2;
  OnePole body;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    // Two gust cycles in the loop; the overlap continues them smoothly.
    double gust = 0.5 + 0.5 * std::sin(2.0 * PI * t / seconds * 2.0);
    double whistle = 0.5 + 0.5 * std::sin(2.0 * PI * t / seconds * 3.0 + 1.0);
    double w = rng.Bipolar();
    double airy = bp1.BandPass(w, 1200.0 + 1400.0 * gust, 0.55);
    double tone = bp2.BandPass(w, 2200.0 + 900.0 * whistle, 0.92) * 0.5;
    double low = body.LowPass(w, 300.0) * 0.8;
    s[i] = static_cast<float>((airy + tone + low) * (0.7 + 0.3 * gust));
  }
  CrossfadeLoop(s, 1, At(overlap));
  return s;
}

std::vector<float> GrazeScrape() {
  SfxParams p;
  p.wave = Wave::Noise;
  p.frequency = 1800.0;
  p.slide = -3.0;
  p.sustain = 0.03;
  p.punch = 0.5;
  p.decay = 0.09;
  p.highPass = 1500.0;
  p.seed = 61;
  std::vector<float> s = RenderSfx(p);
  SfxParams grit;
  grit.wave = Wave::Square;
  grit.duty = 0.1;
  grit.frequency = 2600.0;
  grit.slide = -2.0;
  grit.vibratoDepth = 3.0;
  grit.vibratoRate = 70.0;
  grit.sustain = 0.02;
  grit.decay = 0.06;
  grit.seed = 62;
  MixInto(s, RenderSfx(grit), 0, 0.35);
  return s;
}

std::vector<float> ItemChime() {
  std::vector<float> s;
  const double notes[4] = {81, 85, 88, 93};  // A5 C#6 E6 A6
  for (int i = 0; i < 4; ++i) MixInto(s, BellTone(NoteFrequency(notes[i]), i == 3 ? 0.9 : 0.5, 0.6), At(0.06 * i), 0.5);
  return s;
}

std::vector<float> RockVanish() {
  std::vector<float> s = Silence(0.75);
  SfxParams zap;
  zap.wave = Wave::Square;
  zap.duty = 0.35;
  zap.dutySweep = 0.4;
  zap.frequency = 1400.0;
  zap.slide = -9.0;
  zap.sustain = 0.03;
  zap.decay = 0.3;
  zap.lowPass = 4000.0;
  zap.flangerDelay = 0.002;
  zap.flangerSweep = 0.01;
  zap.seed = 71;
  MixInto(s, RenderSfx(zap), 0, 0.6);
  // Crumble: a shower of short low noise grains thinning out.
  SynthRandom rng(72);
  for (int g = 0; g < 40; ++g) {
    double when = 0.03 + 0.55 * std::pow(rng.Uniform(), 1.6);
    SfxParams grain;
    grain.wave = Wave::Noise;
    grain.frequency = rng.Range(120.0, 500.0);
    grain.sustain = 0.004;
    grain.decay = rng.Range(0.02, 0.06);
    grain.lowPass = 2500.0;
    grain.seed = 100 + g;
    MixInto(s, RenderSfx(grain), At(when), 0.55 * (1.0 - when));
  }
  return s;
}

std::vector<float> GhostSwell() {
  std::vector<float> s = Silence(1.8);
  SynthRandom rng(81);
  StateVariableFilter air;
  double pa = 0, pb = 0, pc = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double vib = std::exp2(0.25 / 12.0 * std::sin(2.0 * PI * 5.0 * t));
    double glide = std::exp2(-0.15 * t);
    pa += 440.0 * vib * glide / SAMPLE_RATE;
    pb += 446.0 * vib * glide / SAMPLE_RATE;
    pc += 659.3 * vib * glide / SAMPLE_RATE;
    double tone = std::sin(2.0 * PI * pa) + std::sin(2.0 * PI * pb) + 0.35 * std::sin(2.0 * PI * pc);
    double breath = air.LowPass(rng.Bipolar(), 500.0, 0.5) * 0.5;  // a cold draught under the tone
    double env = std::min(1.0, t / 0.45);
    env *= t > 0.8 ? std::max(0.0, 1.0 - (t - 0.8) / 1.0) : 1.0;
    s[i] = static_cast<float>((tone * 0.4 + breath) * env * env);
  }
  return s;
}

std::vector<float> LightShimmer() {
  std::vector<float> s = Silence(1.3);
  // Upward-gliding bell, then a scatter of high glints.
  double phase[3] = {0, 0, 0};
  const double ratios[3] = {1.0, 2.76, 5.4};
  const double decays[3] = {0.5, 0.25, 0.12};
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double f = 700.0 * std::exp2(std::min(t / 0.12, 1.0));
    double v = 0.0;
    for (int k = 0; k < 3; ++k) {
      phase[k] += f * ratios[k] / SAMPLE_RATE;
      v += std::sin(2.0 * PI * phase[k]) * std::exp(-t / decays[k]) / (k + 1);
    }
    s[i] = static_cast<float>(v * std::min(1.0, t / 0.005));
  }
  SynthRandom rng(91);
  for (int g = 0; g < 14; ++g) {
    double when = 0.05 + rng.Uniform() * 0.8;
    MixInto(s, BellTone(rng.Range(2500.0, 5000.0), 0.25, 0.3), At(when), 0.18 * (1.0 - when));
  }
  return s;
}

std::vector<float> SpeedUpRise() {
  SfxParams p;
  p.wave = Wave::Square;
  p.duty = 0.5;
  p.dutySweep = -0.6;
  p.frequency = 300.0;
  p.slide = 4.0;
  p.vibratoDepth = 0.5;
  p.vibratoRate = 18.0;
  p.sustain = 0.3;
  p.decay = 0.2;
  p.lowPass = 5000.0;
  p.seed = 101;
  return RenderSfx(p);
}

std::vector<float> ScoreArpeggio() {
  std::vector<float> s;
  const double notes[6] = {72, 76, 79, 84, 88, 91};  // C5 E5 G5 C6 E6 G6
  for (int i = 0; i < 6; ++i) {
    SfxParams p;
    p.wave = Wave::Square;
    p.duty = 0.25;
    p.frequency = NoteFrequency(notes[i]);
    p.sustain = 0.03;
    p.punch = 0.4;
    p.decay = i == 5 ? 0.35 : 0.09;
    p.lowPass = 6000.0;
    p.seed = 110 + i;
    MixInto(s, RenderSfx(p), At(0.05 * i), 0.6);
  }
  return s;
}

std::vector<float> ShipExplosion() {
  std::vector<float> s = Silence(2.6);
  SfxParams roar;
  roar.wave = Wave::Noise;
  roar.frequency = 160.0;
  roar.slide = -0.8;
  roar.sustain = 0.25;
  roar.punch = 1.0;
  roar.decay = 2.2;
  roar.lowPass = 3000.0;
  roar.lowPassSweep = -1.5;
  roar.seed = 121;
  MixInto(s, RenderSfx(roar), 0, 0.9);
  // Sub thump and a crackle of debris.
  double phase = 0.0;
  for (size_t i = 0; i < At(0.8); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    phase += (35.0 + 80.0 * std::exp(-t / 0.08)) / SAMPLE_RATE;
    s[i] += static_cast<float>(SineOf(phase) * std::exp(-t / 0.3) * 0.9);
  }
  SynthRandom rng(122);
  for (int g = 0; g < 60; ++g) {
    double when = 0.05 + 1.6 * std::pow(rng.Uniform(), 2.0);
    SfxParams grain;
    grain.wave = Wave::Noise;
    grain.frequency = rng.Range(400.0, 1500.0);
    grain.sustain = 0.003;
    grain.decay = rng.Range(0.01, 0.04);
    grain.seed = 200 + g;
    MixInto(s, RenderSfx(grain), At(when), 0.35 * (1.0 - when / 1.8));
  }
  return s;
}

std::vector<float> RockPassWhoosh() {
  std::vector<float> s = Silence(0.8);
  SynthRandom rng(131);
  StateVariableFilter bp;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double x = (t - 0.35) / 0.12;
    double env = 1.0 / (1.0 + x * x);  // swells as the rock goes by
    double centre = 900.0 * std::exp2(-1.5 * std::tanh(x));
    s[i] = static_cast<float>(bp.BandPass(rng.Bipolar(), centre, 0.5) * env);
  }
  return s;
}

std::vector<float> CountdownBeep() {
  std::vector<float> s = Silence(0.5);
  double phase = 0.0;
  Oscillator sq;
  sq.wave = Wave::Square;
  sq.duty = 0.5;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    phase += 880.0 / SAMPLE_RATE;
    double env = std::min(1.0, t / 0.003) * std::exp(-t / 0.12);
    s[i] = static_cast<float>((SineOf(phase) * 0.8 + sq.Next(880.0) * 0.15) * env);
  }
  return s;
}

std::vector<float> SpeedChangeSweep() {
  SfxParams p;
  p.wave = Wave::Saw;
  p.frequency = 180.0;
  p.slide = 5.0;
  p.slideAccel = -12.0;
  p.sustain = 0.2;
  p.decay = 0.35;
  p.lowPass = 600.0;
  p.lowPassSweep = 4.0;
  p.resonance = 0.6;
  p.flangerDelay = 0.003;
  p.flangerSweep = 0.01;
  p.seed = 141;
  return RenderSfx(p);
}

std::vector<float> DashSpin() {
  std::vector<float> s = Silence(0.75);
  SynthRandom rng(151);
  StateVariableFilter bp;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    // A spin: the band swings up and down faster and faster.
    double spinPhase = 2.0 * PI * (6.0 * t + 8.0 * t * t);
    double centre = 1500.0 * std::exp2(1.2 * std::sin(spinPhase));
    double env = std::min(1.0, t / 0.04) * std::max(0.0, 1.0 - t / 0.75);
    double trem = 0.6 + 0.4 * std::cos(spinPhase);
    s[i] = static_cast<float>(bp.BandPass(rng.Bipolar(), centre, 0.7) * env * trem);
  }
  return s;
}

std::vector<float> PauseThud() {
  std::vector<float> s = Silence(0.3);
  SynthRandom rng(161);
  OnePole lp;
  double phase = 0.0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    phase += (65.0 + 90.0 * std::exp(-t / 0.02)) / SAMPLE_RATE;
    double body = SineOf(phase) * std::exp(-t / 0.07);
    double knock = lp.LowPass(rng.Bipolar(), 900.0) * std::exp(-t / 0.015);
    s[i] = static_cast<float>(body + knock * 1.2);
  }
  return s;
}

std::vector<float> CautionAlarm() {
  SfxParams p;
  p.wave = Wave::Square;
  p.duty = 0.5;
  p.frequency = 988.0;  // B5, dropping to E5 and back: a two-tone siren
  p.arpeggioRatio = 0.667;
  p.arpeggioTime = 0.15;
  p.repeatTime = 0.3;
  p.sustain = 0.9;
  p.decay = 0.3;
  p.lowPass = 3500.0;
  p.seed = 171;
  return RenderSfx(p);
}

std::vector<float> SuccessJingle() {
  std::vector<float> s;
  // G5 C6 E6 | G6 held over a C major chord.
  const double lead[4] = {79, 84, 88, 91};
  const double start[4] = {0.0, 0.09, 0.18, 0.3};
  for (int i = 0; i < 4; ++i) {
    SfxParams p;
    p.wave = Wave::Square;
    p.duty = 0.25;
    p.frequency = NoteFrequency(lead[i]);
    p.sustain = i == 3 ? 0.45 : 0.06;
    p.punch = 0.3;
    p.decay = i == 3 ? 0.5 : 0.06;
    p.vibratoDepth = i == 3 ? 0.2 : 0.0;
    p.vibratoRate = 6.0;
    p.lowPass = 6000.0;
    p.seed = 180 + i;
    MixInto(s, RenderSfx(p), At(start[i]), 0.5);
  }
  const double chord[3] = {60, 64, 67};
  for (int i = 0; i < 3; ++i) {
    SfxParams p;
    p.wave = Wave::Triangle;
    p.frequency = NoteFrequency(chord[i]);
    p.sustain = 0.45;
    p.decay = 0.5;
    p.seed = 190 + i;
    MixInto(s, RenderSfx(p), At(0.3), 0.3);
  }
  MixInto(s, BellTone(NoteFrequency(96), 0.7, 0.4), At(0.3), 0.2);
  return s;
}

std::vector<float> ArrowBlip() {
  SfxParams p;
  p.wave = Wave::Square;
  p.duty = 0.5;
  p.frequency = 1568.0;
  p.arpeggioRatio = 1.5;
  p.arpeggioTime = 0.025;
  p.sustain = 0.03;
  p.punch = 0.5;
  p.decay = 0.06;
  p.lowPass = 8000.0;
  p.seed = 201;
  return RenderSfx(p);
}

std::vector<float> ArrowAppear() {
  std::vector<float> s = Silence(0.4);
  Oscillator tri, sq;
  tri.wave = Wave::Triangle;
  sq.wave = Wave::Square;
  sq.duty = 0.125;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double f = 440.0 * std::exp2(1.6 * std::min(t / 0.25, 1.0));
    double env = std::min(1.0, t / 0.01) * (t > 0.25 ? std::max(0.0, 1.0 - (t - 0.25) / 0.15) : 1.0);
    s[i] = static_cast<float>((tri.Next(f) * 0.8 + sq.Next(f * 2.0) * 0.15) * env);
  }
  return s;
}

std::vector<float> MissBuzzer() {
  std::vector<float> s = Silence(0.5);
  Oscillator a, b;
  a.wave = Wave::Saw;
  b.wave = Wave::Square;
  StateVariableFilter lp;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double gate = std::fmod(t, 0.2) < 0.16 ? 1.0 : 0.25;  // two short blasts
    double env = std::min(1.0, t / 0.005) * std::max(0.0, 1.0 - t / 0.5);
    double v = a.Next(98.0) * 0.6 + b.Next(104.0) * 0.5;
    s[i] = static_cast<float>(lp.LowPass(v, 1400.0, 0.3) * env * gate);
  }
  // Soften the gate edges so the blasts do not click.
  OnePole smooth;
  for (float& v : s) v = static_cast<float>(smooth.LowPass(v, 6000.0));
  return s;
}

std::vector<float> PassingRumble() {
  const double seconds = 3.0, overlap = 0.5;
  std::vector<float> s = Silence(seconds + overlap);
  SynthRandom rng(221);
  StateVariableFilter lp1, lp2;
  double phase = 0.0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / SAMPLE_RATE;
    double churn = 0.75 + 0.25 * std::sin(2.0 * PI * 3.0 * t / seconds);
    double w = rng.Bipolar();
    double rumble = lp2.LowPass(lp1.LowPass(w, 220.0, 0.3), 260.0, 0.2) * 3.0;
    phase += 41.0 / SAMPLE_RATE;
    double undertone = SineOf(phase) * 0.3;
    s[i] = static_cast<float>((rumble + undertone) * churn);
  }
  CrossfadeLoop(s, 1, At(overlap));
  return s;
}

struct Effect {
  int slot;  // its file is named by SoundRowOf(slot)
  std::function<std::vector<float>()> make;
  bool loops;
  double rmsDb;
};

}  // namespace

void GenerateSounds(const std::string& outDir) {
  const Effect effects[] = {
      {SND_TRAMP, CursorTick, false, EFFECT_RMS_DB},
      {SND_SE_SOD06, MenuConfirm, false, EFFECT_RMS_DB},
      {SND_FLYING, EngineHum, true, -20.0},
      {SND_FORWARD_DASH, BoostWhoosh, false, EFFECT_RMS_DB},
      {SND_WIND_CUTTING, WindLoop, true, -18.0},
      {SND_GRAZE, GrazeScrape, false, -16.0},
      {SND_ITEM_GET, ItemChime, false, EFFECT_RMS_DB},
      {SND_ROCK_VANISH, RockVanish, false, EFFECT_RMS_DB},
      {SND_GHOST, GhostSwell, false, EFFECT_RMS_DB},
      {SND_LIGHT, LightShimmer, false, EFFECT_RMS_DB},
      {SND_SPEED_UP, SpeedUpRise, false, EFFECT_RMS_DB},
      {SND_SCORE_UP, ScoreArpeggio, false, EFFECT_RMS_DB},
      {SND_OWN_EXPLOSION, ShipExplosion, false, -12.0},
      {SND_ROCK_PASSING, RockPassWhoosh, false, EFFECT_RMS_DB},
      {SND_COUNTDOWN_3, CountdownBeep, false, EFFECT_RMS_DB},
      {SND_SPEED_CHANGE, SpeedChangeSweep, false, EFFECT_RMS_DB},
      {SND_DASH, DashSpin, false, EFFECT_RMS_DB},
      {SND_ESC, PauseThud, false, EFFECT_RMS_DB},
      {SND_CAUTION, CautionAlarm, false, EFFECT_RMS_DB},
      {SND_SUCCESS, SuccessJingle, false, EFFECT_RMS_DB},
      {SND_ARROW_ERASE, ArrowBlip, false, EFFECT_RMS_DB},
      {SND_ARROW_SHOW, ArrowAppear, false, EFFECT_RMS_DB},
      {SND_MISS, MissBuzzer, false, EFFECT_RMS_DB},
      {PASS_SOUND_ROW.slot, PassingRumble, true, -16.0},
  };
  for (const Effect& e : effects) {
    std::vector<float> s = e.make();
    if (!e.loops) FadeEdges(s, 1, 0.001, 0.005);
    // Sharp transients may rise up to 4 dB over the ceiling and are then
    // rounded off, so spiky sounds are not left much quieter than the rest.
    NormaliseLoudness(s, 1, e.rmsDb, EFFECT_PEAK_DB + 4.0);
    SoftLimit(s, EFFECT_PEAK_DB);
    const char* file = SoundRowOf(e.slot).fileName;
    if (WriteWav(outDir + "/" + file, s, 1))
      std::printf("%s  %.2f s%s\n", file, static_cast<double>(s.size()) / SAMPLE_RATE,
                  e.loops ? " loop" : "");
  }
  GenerateMusic(outDir);
}
