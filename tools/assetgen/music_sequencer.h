// A small pattern sequencer for the music loops. A piece is a chord chart,
// a composed melody and per-bar layer maps for bass, pads, arpeggio and drums;
// the arranger turns them into notes, renders every note into a stereo bus
// and folds the tails back to the start so the loop joins seamlessly.
#pragma once

#include <string>
#include <vector>

#include "synth.h"

enum class Timbre { SoftBass, DriveBass, AcidBass, PulseLead, SawLead, BellLead, Pluck, Bell, Pad, GlassPad };

struct Instrument {
  Timbre timbre = Timbre::Pad;
  Adsr envelope;
  double cutoff = 2000.0;       // Hz
  double cutoffEnv = 0.0;       // extra octaves at the note start
  double cutoffDecay = 0.1;     // seconds
  double resonance = 0.2;
  double detuneCents = 0.0;
  double vibratoDepth = 0.0;    // semitones
  double vibratoDelay = 0.2;    // seconds before vibrato fades in
  double gain = 0.3;
  double pan = 0.0;             // -1 left .. 1 right
  double width = 0.0;           // stereo spread of a chord's notes, by pitch
  double echo = 0.0;            // send to the delay
  double reverb = 0.0;          // send to the reverb
};

struct PieceSpec {
  std::string file;             // below the data folder, e.g. "wav/loop_60.wav"
  double bpm = 120.0;           // the whole loop must come to a whole number of samples
  int bars = 16;
  uint64_t seed = 1;
  // One chord a bar, e.g. "Em", "Cmaj7", "D/F#" (slash: bass note), or two
  // a bar when the list is twice the bar count. A shorter list repeats.
  std::vector<std::string> chords;

  // Layer maps: one character a bar; '0' silent, '1' main pattern, '2' variant.
  std::string bassMap, padMap, arpMap, drumMap, leadMap;

  // Step patterns, 16 steps a bar.
  // bass: r root, f fifth, o octave, t third, s seventh, - hold, . rest
  std::string bassMain, bassAlt;
  // arpeggio: digits index chord tones upwards, - hold, . rest
  std::string arpMain, arpAlt;
  // drums: X accent, x normal, o ghost, . rest
  std::string kickMain, snareMain, hatMain, openHatMain;
  std::string kickFill, snareFill, hatFill, openHatFill;
  bool crashOnPhrase = true;    // crash cymbal at the start of every 4-bar phrase with drums

  // Melody: tokens "C#5:4" (note, octave, length in 16ths) or "-:4" for rest,
  // read from bar 0 and repeated to fill every bar whose leadMap is not '0'.
  std::string melody;
  std::string counterMelody;    // optional second voice, same notation

  Instrument bass, pad, arp, lead, counter;
  int bassOctave = 36;          // MIDI note the bass root sits at or above
  int padCentre = 60;           // pads are voiced around this note
  int arpBase = 64;             // arpeggio chord tones start at or above this
  double drumGain = 1.0;
  double echoRows = 3.0;        // delay time in 16ths
  double echoFeedback = 0.35;
  double reverbSize = 0.5;      // 0..1
  double rmsDb = -16.0;         // loudness target of the finished loop
};

struct RenderedLoop {
  std::vector<float> samples;   // interleaved stereo
  size_t frames = 0;
  double seconds = 0.0;
};

RenderedLoop RenderPiece(const PieceSpec& piece);

// Chord symbol to pitch classes above its root: returns the root (0..11) and
// the intervals; false when the symbol is not understood.
bool ParseChord(const std::string& symbol, int& root, std::vector<int>& intervals);

struct MelodyNote {
  int row;     // start, in 16ths from the beginning of the line
  int length;  // in 16ths
  int midi;    // -1 for a rest
};

// Parses "E5:4 -:2 G#4:2" into notes; false on a malformed token.
bool ParseMelody(const std::string& text, std::vector<MelodyNote>& notes);

// Writes all seven music loops under outDir/wav.
void GenerateMusic(const std::string& outDir);
