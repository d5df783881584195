// The generated sounds as the game will meet them: every file of the catalogue
// through the game's own WaveReader, in the agreed format, below full scale,
// loops that join without a click, one-shots that start and end in silence,
// quick effects short enough to restart, even loudness, and music with real
// voices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/asset_table.h"
#include "support/generated_data.h"
#include "media/wave_reader.h"

namespace fs = std::filesystem;

namespace {

enum class Kind { Music, Loop, OneShot };

struct Entry {
  std::string file;  // below wav/
  Kind kind;
};

// Every sound file the game opens, once each (a file may fill two slots).
std::vector<Entry> GameSoundFiles() {
  std::vector<Entry> files;
  auto add = [&files](const SoundRow& row) {
    std::string file = row.fileName + 4;
    for (const Entry& e : files)
      if (e.file == file) return;
    bool music = row.slot >= SND_LOOP_60 && row.slot <= SND_LOOP_46;
    bool loop = row.slot == SND_FLYING || row.slot == SND_WIND_CUTTING || row.slot == PASS_SOUND_ROW.slot;
    files.push_back({file, music ? Kind::Music : loop ? Kind::Loop : Kind::OneShot});
  };
  for (const SoundRow& row : SOUND_TABLE) add(row);
  add(PASS_SOUND_ROW);
  return files;
}

const std::vector<Entry> kSounds = GameSoundFiles();

const double kFullScale = 32768.0;

struct Sound {
  bool ok = false;
  WAVEFORMATEX format = {};
  DWORD dataBytes = 0;
  std::vector<int16_t> samples;  // interleaved
  int channels() const { return format.nChannels; }
  size_t frames() const { return samples.size() / std::max(1, channels()); }
  double seconds() const { return frames() / 44100.0; }
  double At(size_t frame, int channel) const { return samples[frame * channels() + channel]; }
};

Sound ReadThroughGameReader(const fs::path& file) {
  Sound sound;
  WaveReader reader;
  if (reader.Open(file.string().c_str()) != S_OK || reader.format == nullptr) return sound;
  sound.format = *reader.format;
  sound.dataBytes = reader.dataChunk.cksize;
  std::vector<BYTE> bytes(sound.dataBytes);
  UINT read = 0;
  if (reader.Read(sound.dataBytes, bytes.data(), &read) != S_OK || read != sound.dataBytes) return sound;
  sound.samples.resize(read / 2);
  for (size_t i = 0; i < sound.samples.size(); ++i)
    sound.samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  sound.ok = true;
  return sound;
}

class SoundSet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const GeneratedData& data = Generated();
    if (data.first.empty()) return;
    for (const Entry& e : kSounds) sounds().push_back(ReadThroughGameReader(data.first / "wav" / e.file));
  }
  void SetUp() override {
    if (Generated().first.empty()) GTEST_FAIL() << Generated().problem;
  }
  static std::vector<Sound>& sounds() {
    static std::vector<Sound> all;
    return all;
  }
  static const Sound& Of(const char* file) {
    for (size_t i = 0; i < std::size(kSounds); ++i)
      if (kSounds[i].file == file) return sounds()[i];
    static const Sound none;
    return none;
  }
};

// RMS over 50 ms windows within 20 dB of the loudest one, so a quiet tail
// does not make a short effect count as quiet.
double ActiveRmsDb(const Sound& s) {
  const size_t window = 2205 * s.channels();
  std::vector<double> energies;
  for (size_t start = 0; start < s.samples.size(); start += window) {
    size_t end = std::min(s.samples.size(), start + window);
    double sum = 0;
    for (size_t i = start; i < end; ++i) sum += double(s.samples[i]) * s.samples[i];
    energies.push_back(sum / double(end - start));
  }
  double loudest = *std::max_element(energies.begin(), energies.end());
  double sum = 0;
  int n = 0;
  for (double e : energies)
    if (e >= loudest / 100.0) sum += e, ++n;
  return 10.0 * std::log10(sum / n / (kFullScale * kFullScale));
}

double Percentile(std::vector<double> values, double p) {
  auto at = values.begin() + static_cast<std::ptrdiff_t>(p * (values.size() - 1));
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

// Every file through the game's reader in the agreed format; peaks between
// -12 and -1 dB without a DC offset; one-shots start and end in silence;
// music is stereo and a full piece of 15 to 40 s.
TEST_F(SoundSet, EveryFileInTheAgreedFormatLevelAndLength) {
  const double ceiling = kFullScale * std::pow(10.0, -1.0 / 20.0) + 1.0;
  const double floor = kFullScale * std::pow(10.0, -12.0 / 20.0);
  for (size_t i = 0; i < std::size(kSounds); ++i) {
    const Sound& s = sounds()[i];
    SCOPED_TRACE(kSounds[i].file);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(s.format.wBitsPerSample, 16);
    EXPECT_EQ(s.format.nSamplesPerSec, 44100u);
    EXPECT_EQ(s.format.nBlockAlign, 2 * s.format.nChannels);
    EXPECT_EQ(s.format.nAvgBytesPerSec, 44100u * s.format.nBlockAlign);
    EXPECT_EQ(s.dataBytes % s.format.nBlockAlign, 0u);
    EXPECT_GT(s.frames(), 1000u);
    EXPECT_TRUE(s.channels() == 1 || s.channels() == 2);
    double peak = 0, mean = 0;
    for (int16_t v : s.samples) peak = std::max(peak, std::fabs(double(v))), mean += v;
    EXPECT_LE(peak, ceiling);
    EXPECT_GE(peak, floor);
    EXPECT_LT(std::fabs(mean / double(s.samples.size())), 0.01 * kFullScale);
    if (kSounds[i].kind == Kind::OneShot) {
      for (int c = 0; c < s.channels(); ++c) {
        EXPECT_LE(std::fabs(s.At(0, c)), 0.01 * kFullScale);
        EXPECT_LE(std::fabs(s.At(s.frames() - 1, c)), 0.01 * kFullScale);
      }
    }
    if (kSounds[i].kind == Kind::Music) {
      EXPECT_EQ(s.channels(), 2);
      EXPECT_GE(s.seconds(), 15.0);
      EXPECT_LE(s.seconds(), 40.0);
    }
  }
  // The positional sound must be mono: 3D buffers take one channel.
  EXPECT_EQ(Of("通り過ぎ.wav").channels(), 1);
  EXPECT_LE(Of("loop_60.wav").seconds(), 30.0);
}

TEST_F(SoundSet, LoopsJoinWithoutAClick) {
  // The step from the last sample back to the first must be an ordinary
  // step for the music around it: within the spread of the steps in the
  // 50 ms either side of the loop point.
  const size_t window = 2205;
  for (size_t i = 0; i < std::size(kSounds); ++i) {
    if (kSounds[i].kind == Kind::OneShot) continue;
    const Sound& s = sounds()[i];
    SCOPED_TRACE(kSounds[i].file);
    ASSERT_GT(s.frames(), 2 * window);
    const size_t last = s.frames() - 1;
    for (int c = 0; c < s.channels(); ++c) {
      std::vector<double> steps;
      for (size_t k = 1; k < window; ++k) {
        steps.push_back(std::fabs(s.At(k, c) - s.At(k - 1, c)));
        steps.push_back(std::fabs(s.At(last - k + 1, c) - s.At(last - k, c)));
      }
      double seam = std::fabs(s.At(0, c) - s.At(last, c));
      EXPECT_LE(seam, Percentile(steps, 0.99)) << "channel " << c;
    }
  }
}

TEST_F(SoundSet, QuicklyRestartedEffectsAreShort) {
  // Restarted at every numeral, every flash, every frame of a graze, every
  // cursor step: a long tail would be cut off each time.
  EXPECT_LT(Of("カウントダウン3.wav").seconds(), 0.9);
  EXPECT_LT(Of("caution.wav").seconds(), 1.4);
  EXPECT_LT(Of("カスリ.wav").seconds(), 0.3);
  EXPECT_LT(Of("tramp.wav").seconds(), 0.2);
  EXPECT_LT(Of("矢印消去.wav").seconds(), 0.3);
}

TEST_F(SoundSet, EffectsShareALoudnessAndMusicSitsBelowThem) {
  std::vector<double> effects;
  for (size_t i = 0; i < std::size(kSounds); ++i)
    if (kSounds[i].kind == Kind::OneShot) effects.push_back(ActiveRmsDb(sounds()[i]));
  double median = Percentile(effects, 0.5);
  for (size_t i = 0; i < std::size(kSounds); ++i) {
    SCOPED_TRACE(kSounds[i].file);
    double level = ActiveRmsDb(sounds()[i]);
    if (kSounds[i].kind == Kind::OneShot) {
      EXPECT_NEAR(level, median, 6.0);
    }
    if (kSounds[i].kind == Kind::Music) {
      EXPECT_LT(level, median);
      EXPECT_GT(level, median - 10.0);
    }
  }
}

// Share of a channel's energy below 150 Hz and above 5 kHz (one-pole splits).
void BandShares(const Sound& s, double& low, double& high, double& side) {
  double lp150 = 0, lp5k = 0, total = 0, lowE = 0, highE = 0, sideE = 0;
  const double a150 = 1.0 - std::exp(-2.0 * M_PI * 150.0 / 44100.0);
  const double a5k = 1.0 - std::exp(-2.0 * M_PI * 5000.0 / 44100.0);
  for (size_t f = 0; f < s.frames(); ++f) {
    double l = s.At(f, 0), r = s.At(f, 1), mid = 0.5 * (l + r);
    lp150 += a150 * (mid - lp150);
    lp5k += a5k * (mid - lp5k);
    total += mid * mid;
    lowE += lp150 * lp150;
    highE += (mid - lp5k) * (mid - lp5k);
    sideE += 0.25 * (l - r) * (l - r);
  }
  low = lowE / total;
  high = highE / total;
  side = sideE / total;
}

TEST_F(SoundSet, MusicCarriesBassDrumsAndAStereoImage) {
  for (size_t i = 0; i < std::size(kSounds); ++i) {
    if (kSounds[i].kind != Kind::Music) continue;
    SCOPED_TRACE(kSounds[i].file);
    double low, high, side;
    BandShares(sounds()[i], low, high, side);
    EXPECT_GT(low, 0.05);    // a bass line and kick, not just a lead
    EXPECT_GT(high, 0.002);  // cymbals, hats or bright attacks
    EXPECT_LT(high, 0.3);    // but not a wash of hiss
    EXPECT_GT(side, 0.01);   // panned voices, not mono copied twice
  }
}

// Tempo from the loop itself: the beat period (searched over 100 to 180 bpm)
// at which the onset envelope best repeats, counting one to four beats on.
double EstimateBpm(const Sound& s) {
  const size_t hop = 441;  // 10 ms
  const size_t hops = s.frames() / hop;
  std::vector<double> energy(hops), onset(hops);
  for (size_t h = 0; h < hops; ++h) {
    double sum = 0;
    for (size_t k = 0; k < hop; ++k) {
      double mid = 0;
      for (int c = 0; c < s.channels(); ++c) mid += s.At(h * hop + k, c);
      sum += mid * mid;
    }
    energy[h] = std::log(1e-9 + sum);
  }
  double mean = 0;
  for (size_t h = 0; h < hops; ++h) {
    onset[h] = std::max(0.0, energy[h] - energy[(h + hops - 1) % hops]);
    mean += onset[h] / hops;
  }
  for (double& v : onset) v -= mean;
  double best = -1e300, bestBpm = 0;
  for (double bpm = 100; bpm <= 180; bpm += 0.25) {
    double r = 0;
    for (int beats = 1; beats <= 4; ++beats) {
      double lag = 6000.0 / bpm * beats;
      size_t whole = static_cast<size_t>(lag);
      double part = lag - whole;
      for (size_t h = 0; h < hops; ++h)
        r += onset[h] * ((1 - part) * onset[(h + whole) % hops] + part * onset[(h + whole + 1) % hops]);
    }
    if (r > best) best = r, bestBpm = bpm;
  }
  return bestBpm;
}

TEST_F(SoundSet, FlightTracksDriveAtTheirOwnTempoInWholeBars) {
  const char* tracks[] = {"be03.wav", "be05.wav", "be08.wav", "loop_47.wav", "loop_46.wav"};
  std::vector<double> tempos;
  for (const char* track : tracks) {
    SCOPED_TRACE(track);
    double bpm = EstimateBpm(Of(track));
    double bars = Of(track).seconds() * bpm / 240.0;
    EXPECT_GE(bpm, 120.0);
    EXPECT_LE(bpm, 160.0);
    EXPECT_NEAR(bars, std::round(bars), 0.15);  // the loop ends on a bar line
    tempos.push_back(bpm);
  }
  for (size_t i = 0; i < tempos.size(); ++i)
    for (size_t j = i + 1; j < tempos.size(); ++j) EXPECT_GT(std::fabs(tempos[i] - tempos[j]), 3.0) << tracks[i] << " " << tracks[j];
}

}  // namespace
