// The seven music loops: title, mode select and five flight tracks, each in
// its own key, tempo and mood.
#include <cstdio>

#include "app/asset_table.h"
#include "music_sequencer.h"
#include "wav_writer.h"

namespace {

Instrument MakeInstrument(Timbre timbre, double attack, double decay, double sustain, double release,
                          double cutoff, double gain) {
  Instrument in;
  in.timbre = timbre;
  in.envelope = {attack, decay, sustain, release};
  in.cutoff = cutoff;
  in.gain = gain;
  return in;
}

Instrument WidePad(double cutoff, double gain) {
  Instrument in = MakeInstrument(Timbre::Pad, 0.5, 0.8, 0.8, 0.9, cutoff, gain);
  in.detuneCents = 9.0;
  in.width = 0.6;
  in.reverb = 0.5;
  return in;
}

// Majestic and spacious: a slow brass-like lead over wide pads, bell
// arpeggios and a half-time beat, with a borrowed minor iv for colour.
PieceSpec TitleTheme() {
  PieceSpec p;
  p.file = SoundRowOf(SND_LOOP_60).fileName;
  p.bpm = 100;
  p.bars = 12;
  p.seed = 60;
  p.chords = {"D", "Bm", "Gmaj7", "A", "D/F#", "G", "Em7", "Asus4", "Bm", "G", "Gm", "A"};
  p.padMap = "111111111111";
  p.bassMap = "111111111111";
  p.arpMap = "111111111111";
  p.drumMap = "001111111112";
  p.leadMap = "000011111111";
  p.bassMain = "r-------f-----o-";
  p.arpMain = "0.1.2.3.4.3.2.1.";
  p.kickMain = "X.........x.....";
  p.snareMain = "........X.......";
  p.hatMain = "o...o...o...o.o.";
  p.openHatMain = "......o.......o.";
  p.kickFill = "X.........x.x...";
  p.snareFill = "........X...x.xX";
  p.melody =
      "-:64 "
      "F#5:6 E5:2 D5:4 A4:4 "
      "B4:6 D5:2 G5:8 "
      "F#5:4 E5:4 D5:4 B4:4 "
      "D5:4 E5:12 "
      "F#5:6 A5:2 B5:8 "
      "A5:4 G5:4 F#5:4 D5:4 "
      "D5:6 Bb4:2 G5:8 "
      "A4:4 C#5:4 E5:8";
  p.pad = WidePad(1400.0, 0.16);
  p.bass = MakeInstrument(Timbre::SoftBass, 0.02, 0.5, 0.7, 0.3, 500.0, 0.5);
  p.arp = MakeInstrument(Timbre::Bell, 0.002, 0.35, 0.0, 0.1, 8000.0, 0.09);
  p.arp.echo = 0.6;
  p.arp.reverb = 0.4;
  p.arp.pan = -0.2;
  p.lead = MakeInstrument(Timbre::SawLead, 0.07, 0.4, 0.75, 0.35, 1700.0, 0.16);
  p.lead.cutoffEnv = 0.8;
  p.lead.cutoffDecay = 0.3;
  p.lead.detuneCents = 7.0;
  p.lead.vibratoDepth = 0.18;
  p.lead.vibratoDelay = 0.25;
  p.lead.reverb = 0.5;
  p.lead.echo = 0.25;
  p.bassOctave = 38;
  p.padCentre = 62;
  p.arpBase = 74;
  p.drumGain = 0.8;
  p.echoRows = 3;
  p.echoFeedback = 0.45;
  p.reverbSize = 0.9;
  return p;
}

// Calm, expectant: glassy pads and a pulsing bass under a rising pluck
// arpeggio, ending each pass on the dominant so it leans into the next.
PieceSpec ModeSelectTheme() {
  PieceSpec p;
  p.file = SoundRowOf(SND_LOOP_56).fileName;
  p.bpm = 90;
  p.bars = 8;
  p.seed = 56;
  p.chords = {"Fmaj7", "Gm7", "Bbmaj7", "Csus4", "Fmaj7", "Dm7", "Bbmaj7", "C"};
  p.padMap = "11111111";
  p.bassMap = "11111112";
  p.arpMap = "11111111";
  p.drumMap = "11111112";
  p.leadMap = "00001111";
  p.bassMain = "r.r.r.r.r.r.r.r.";
  p.bassAlt = "r.r.r.r.o.o.f.s.";
  p.arpMain = "0123012301230123";
  p.kickMain = "X.......x.......";
  p.snareMain = "............o...";
  p.hatMain = "..o...o...o...o.";
  p.kickFill = "X.......x...x...";
  p.snareFill = "............o.oo";
  p.crashOnPhrase = false;
  p.melody =
      "-:64 "
      "C5:2 F5:2 A5:4 G5:4 E5:4 "
      "F5:4 D5:4 A4:8 "
      "D5:2 F5:2 A5:4 Bb5:4 A5:4 "
      "G5:12 -:4";
  p.pad = MakeInstrument(Timbre::GlassPad, 0.6, 1.0, 0.8, 1.2, 2200.0, 0.17);
  p.pad.detuneCents = 6.0;
  p.pad.width = 0.7;
  p.pad.reverb = 0.6;
  p.bass = MakeInstrument(Timbre::SoftBass, 0.01, 0.15, 0.5, 0.08, 600.0, 0.42);
  p.arp = MakeInstrument(Timbre::Pluck, 0.002, 0.18, 0.0, 0.05, 900.0, 0.1);
  p.arp.cutoffEnv = 2.0;
  p.arp.cutoffDecay = 0.06;
  p.arp.echo = 0.5;
  p.arp.pan = 0.25;
  p.lead = MakeInstrument(Timbre::BellLead, 0.01, 0.5, 0.5, 0.5, 5000.0, 0.15);
  p.lead.reverb = 0.6;
  p.lead.echo = 0.4;
  p.lead.pan = -0.15;
  p.bassOctave = 36;
  p.padCentre = 62;
  p.arpBase = 65;
  p.drumGain = 0.6;
  p.echoRows = 4;
  p.echoFeedback = 0.4;
  p.reverbSize = 0.85;
  p.rmsDb = -17.0;
  return p;
}

Instrument FlightBass(Timbre timbre, double cutoff, double envelope, double resonance) {
  Instrument in = MakeInstrument(timbre, 0.003, 0.12, 0.6, 0.04, cutoff, 0.34);
  in.cutoffEnv = envelope;
  in.cutoffDecay = 0.07;
  in.resonance = resonance;
  in.detuneCents = 8.0;
  return in;
}

// E minor, 140: four-on-the-floor with a syncopated pulse lead.
PieceSpec FlightE() {
  PieceSpec p;
  p.file = SoundRowOf(SND_BE03).fileName;
  p.bpm = 140;
  p.seed = 3;
  p.chords = {"Em", "C", "G", "D", "Em", "C", "G", "D", "Am", "C", "D", "B7", "Em", "C", "G", "D"};
  p.padMap = "1111111111111111";
  p.bassMap = "1111111122221111";
  p.arpMap = "0000111111111111";
  p.drumMap = "1112111211121112";
  p.leadMap = "0000111111112222";
  p.bassMain = "r.rr.rr.r.rr.ro.";
  p.bassAlt = "r.r.f.f.o.o.f.f.";
  p.arpMain = "0.1.2.0.1.2.0.1.";
  p.kickMain = "X...x...X...x...";
  p.snareMain = "....X.......X...";
  p.hatMain = "o.x.o.x.o.x.o.x.";
  p.openHatMain = "..............x.";
  p.kickFill = "X...x...X.x.x...";
  p.snareFill = "....X...o.x.XxXX";
  p.melody =
      "-:64 "
      "E5:3 G5:3 B5:2 A5:4 G5:4 "
      "E5:3 G5:3 C6:2 B5:4 G5:4 "
      "D5:3 G5:3 B5:2 A5:2 G5:2 F#5:2 G5:2 "
      "A5:6 F#5:2 D5:8 "
      "A4:2 C5:2 E5:4 D5:2 C5:2 A4:4 "
      "G4:2 C5:2 E5:4 G5:4 E5:4 "
      "F#5:4 A5:4 F#5:2 E5:2 D5:4 "
      "D#5:4 F#5:4 A5:4 B5:4 "
      "E5:3 G5:3 B5:2 A5:4 G5:4 "
      "E5:3 G5:3 C6:2 B5:4 G5:4 "
      "D5:3 G5:3 B5:2 A5:2 G5:2 F#5:2 G5:2 "
      "A5:6 F#5:2 D5:8";
  // In the last phrase a second voice sings thirds and sixths under the lead.
  p.counterMelody =
      "-:192 "
      "B4:3 E5:3 G5:2 F#5:4 E5:4 "
      "C5:3 E5:3 G5:2 G5:4 E5:4 "
      "B4:3 D5:3 G5:2 F#5:2 E5:2 D5:2 D5:2 "
      "F#5:6 D5:2 A4:8";
  p.pad = WidePad(1100.0, 0.1);
  p.bass = FlightBass(Timbre::DriveBass, 260.0, 2.5, 0.45);
  p.arp = MakeInstrument(Timbre::Pluck, 0.002, 0.12, 0.0, 0.03, 1200.0, 0.09);
  p.arp.cutoffEnv = 2.0;
  p.arp.cutoffDecay = 0.05;
  p.arp.echo = 0.5;
  p.arp.pan = 0.3;
  p.lead = MakeInstrument(Timbre::PulseLead, 0.005, 0.2, 0.65, 0.1, 3200.0, 0.16);
  p.lead.detuneCents = 10.0;
  p.lead.vibratoDepth = 0.15;
  p.lead.echo = 0.35;
  p.lead.reverb = 0.2;
  p.lead.pan = 0.1;
  p.counter = p.lead;
  p.counter.timbre = Timbre::SawLead;
  p.counter.cutoff = 2200.0;
  p.counter.gain = 0.1;
  p.counter.pan = -0.35;
  p.bassOctave = 28;
  p.padCentre = 60;
  p.arpBase = 67;
  p.echoRows = 3;
  p.reverbSize = 0.5;
  return p;
}

// A minor, 150: broken beat, squelchy acid bass, the most aggressive one.
PieceSpec FlightA() {
  PieceSpec p;
  p.file = SoundRowOf(SND_BE05).fileName;
  p.bpm = 150;
  p.seed = 5;
  p.chords = {"Am", "Dm", "G", "C", "F", "Dm", "Esus4", "E", "Am", "Dm", "G", "C", "F", "G", "Am", "E"};
  p.padMap = "0000111111111111";
  p.bassMap = "1111111111111111";
  p.arpMap = "1111111100001111";
  p.drumMap = "1112111211121112";
  p.leadMap = "0000111111111111";
  p.bassMain = "r.ro.rr.o.rf.ro.";
  p.kickMain = "X.....x...x.....";
  p.snareMain = "....X.......X...";
  p.hatMain = "xoxoxoxoxoxoxoxo";
  p.kickFill = "X.....x...x.x...";
  p.snareFill = "....X..o.xX.XXXX";
  p.arpMain = "0.1.2.0.1.2.0.1.";
  p.melody =
      "A5:2 E5:2 A5:2 B5:2 C6:4 B5:2 A5:2 "
      "F5:4 A5:2 D6:2 C6:4 A5:4 "
      "B5:2 G5:2 D5:2 G5:2 B5:4 A5:2 G5:2 "
      "E5:6 G5:2 C6:8 "
      "A5:2 C6:2 F5:2 A5:2 C6:4 D6:4 "
      "D6:4 C6:2 A5:2 F5:4 A5:4 "
      "A5:6 B5:2 A5:4 E5:4 "
      "G#5:4 B5:4 E6:4 D6:2 B5:2";
  p.pad = WidePad(900.0, 0.09);
  p.bass = FlightBass(Timbre::AcidBass, 220.0, 3.2, 0.8);
  p.bass.gain = 0.3;
  p.arp = MakeInstrument(Timbre::Pluck, 0.002, 0.1, 0.0, 0.03, 1500.0, 0.08);
  p.arp.cutoffEnv = 1.5;
  p.arp.echo = 0.45;
  p.arp.pan = -0.35;
  p.lead = MakeInstrument(Timbre::SawLead, 0.005, 0.15, 0.7, 0.08, 2600.0, 0.14);
  p.lead.cutoffEnv = 1.0;
  p.lead.detuneCents = 12.0;
  p.lead.vibratoDepth = 0.2;
  p.lead.echo = 0.3;
  p.lead.reverb = 0.15;
  p.bassOctave = 33;
  p.padCentre = 60;
  p.arpBase = 69;
  p.echoRows = 3;
  p.echoFeedback = 0.3;
  p.reverbSize = 0.4;
  return p;
}

// C minor, 126: dark and hypnotic, off-beat bass and cold bells.
PieceSpec FlightC() {
  PieceSpec p;
  p.file = SoundRowOf(SND_BE08).fileName;
  p.bpm = 126;
  p.seed = 8;
  p.chords = {"Cm", "Ab", "Bb", "G", "Cm", "Ab", "Fm", "G"};
  p.padMap = "1111111111111111";
  p.bassMap = "1111111122222222";
  p.arpMap = "1111111111111111";
  p.drumMap = "1111111211121112";
  p.leadMap = "0000111111111111";
  p.bassMain = "..r-..r-..r-..r-";
  p.bassAlt = "r.r-..r-r.r-..o-";
  p.arpMain = "0.2.1.3.0.2.1.3.";
  p.kickMain = "X...X...X...X...";
  p.snareMain = "....x.......x...";
  p.hatMain = "o.x.o.x.o.x.o.xo";
  p.openHatMain = "..o...o...o...o.";
  p.kickFill = "X...X...X...X.x.";
  p.snareFill = "....x.......x.xx";
  p.melody =
      "G5:4 Eb5:2 C5:2 G5:4 Ab5:2 G5:2 "
      "Eb5:4 C5:4 Ab4:4 C5:4 "
      "D5:4 F5:2 Bb5:2 Ab5:4 F5:4 "
      "G5:6 B4:2 D5:4 F5:4 "
      "Eb5:2 G5:2 C6:4 Bb5:2 G5:2 Eb5:4 "
      "C6:4 Ab5:4 Eb5:4 C5:4 "
      "F5:4 Ab5:2 C6:2 Bb5:4 Ab5:4 "
      "G5:4 F5:2 D5:2 B4:8";
  p.pad = WidePad(800.0, 0.12);
  p.bass = FlightBass(Timbre::DriveBass, 300.0, 1.8, 0.3);
  p.bass.envelope.release = 0.06;
  p.arp = MakeInstrument(Timbre::Bell, 0.002, 0.25, 0.0, 0.05, 8000.0, 0.07);
  p.arp.echo = 0.55;
  p.arp.reverb = 0.3;
  p.arp.pan = 0.3;
  p.lead = MakeInstrument(Timbre::PulseLead, 0.01, 0.3, 0.6, 0.2, 2000.0, 0.15);
  p.lead.detuneCents = 6.0;
  p.lead.vibratoDepth = 0.12;
  p.lead.echo = 0.4;
  p.lead.reverb = 0.3;
  p.bassOctave = 36;
  p.padCentre = 58;
  p.arpBase = 72;
  p.echoRows = 3;
  p.echoFeedback = 0.45;
  p.reverbSize = 0.7;
  return p;
}

// F-sharp minor, 135: bright retro drive, octave bass and a singing lead.
PieceSpec FlightFSharp() {
  PieceSpec p;
  p.file = SoundRowOf(SND_LOOP_47).fileName;
  p.bpm = 135;
  p.seed = 47;
  p.chords = {"F#m", "D", "A", "E", "Bm", "D", "E", "C#m"};
  p.padMap = "1111111111111111";
  p.bassMap = "1111111122222222";
  p.arpMap = "1111111111111111";
  p.drumMap = "0111111211121112";
  p.leadMap = "0000111111111111";
  p.bassMain = "r-r-r-r-r-r-r-o-";
  p.bassAlt = "r-o-r-o-r-o-r-o-";
  p.arpMain = "0123210123210123";
  p.kickMain = "X.....X.X.......";
  p.snareMain = "....X.......X...";
  p.hatMain = "x.x.x.x.x.x.x.x.";
  p.openHatMain = "";
  p.kickFill = "X.....X.X...x.x.";
  p.snareFill = "....X.......XoXX";
  p.melody =
      "C#6:4 A5:4 F#5:4 A5:2 B5:2 "
      "A5:4 F#5:2 A5:2 D6:4 C#6:4 "
      "C#6:6 B5:2 A5:4 E5:4 "
      "G#5:4 B5:4 E6:8 "
      "D6:4 C#6:2 B5:2 F#5:4 B5:4 "
      "A5:4 F#5:4 D6:4 A5:4 "
      "G#5:4 B5:2 E6:2 D6:4 B5:4 "
      "C#6:8 G#5:4 E5:4";
  p.pad = WidePad(1600.0, 0.12);
  p.bass = FlightBass(Timbre::DriveBass, 400.0, 1.5, 0.25);
  p.arp = MakeInstrument(Timbre::Pluck, 0.002, 0.14, 0.0, 0.03, 1800.0, 0.085);
  p.arp.cutoffEnv = 1.5;
  p.arp.echo = 0.5;
  p.arp.pan = 0.35;
  p.lead = MakeInstrument(Timbre::SawLead, 0.01, 0.3, 0.7, 0.2, 2800.0, 0.14);
  p.lead.detuneCents = 9.0;
  p.lead.vibratoDepth = 0.22;
  p.lead.vibratoDelay = 0.15;
  p.lead.echo = 0.35;
  p.lead.reverb = 0.35;
  p.bassOctave = 30;
  p.padCentre = 62;
  p.arpBase = 66;
  p.echoRows = 3;
  p.reverbSize = 0.7;
  return p;
}

// B-flat major, 160: the uplifting one, punchy beat and a soaring pulse lead.
PieceSpec FlightBFlat() {
  PieceSpec p;
  p.file = SoundRowOf(SND_LOOP_46).fileName;
  p.bpm = 160;
  p.seed = 46;
  p.chords = {"Bb", "F", "Gm", "Eb", "Bb", "F", "Eb", "F"};
  p.padMap = "1111111111111111";
  p.bassMap = "1111111122221111";
  p.arpMap = "0000111111111111";
  p.drumMap = "1112111211121112";
  p.leadMap = "0000111111112222";
  p.bassMain = "r.r.r.r.r.r.r.o.";
  p.bassAlt = "r.o.r.o.f.o.f.o.";
  p.arpMain = "0.2.1.2.0.2.1.2.";
  p.kickMain = "X.x...x.X.x...x.";
  p.snareMain = "....X.......X...";
  p.hatMain = "x.x.x.x.x.x.x.x.";
  p.openHatMain = "......o.......o.";
  p.kickFill = "X.x...x.X.x.x.x.";
  p.snareFill = "....X...XoXoXXXX";
  p.melody =
      "D5:2 F5:2 Bb5:4 A5:2 Bb5:2 C6:4 "
      "A5:4 F5:4 C5:4 F5:4 "
      "G5:2 Bb5:2 D6:4 C6:2 Bb5:2 G5:4 "
      "Bb5:6 G5:2 Eb5:8 "
      "F5:2 Bb5:2 D6:4 C6:4 Bb5:4 "
      "C6:4 A5:2 F5:2 C6:4 F6:4 "
      "Eb6:4 D6:2 C6:2 Bb5:4 G5:4 "
      "A5:6 C6:2 F5:8";
  p.counterMelody =
      "-:64 "
      "D5:2 F5:2 Bb5:4 A5:4 F5:4 "
      "A5:4 F5:2 C5:2 A5:4 C6:4 "
      "Bb5:4 Bb5:2 G5:2 G5:4 Eb5:4 "
      "F5:6 A5:2 C5:8";
  p.pad = WidePad(1300.0, 0.1);
  p.bass = FlightBass(Timbre::DriveBass, 350.0, 2.0, 0.35);
  p.arp = MakeInstrument(Timbre::Pluck, 0.002, 0.1, 0.0, 0.03, 2000.0, 0.08);
  p.arp.cutoffEnv = 1.2;
  p.arp.echo = 0.4;
  p.arp.pan = -0.3;
  p.lead = MakeInstrument(Timbre::PulseLead, 0.005, 0.2, 0.7, 0.12, 3800.0, 0.15);
  p.lead.detuneCents = 12.0;
  p.lead.vibratoDepth = 0.18;
  p.lead.echo = 0.3;
  p.lead.reverb = 0.25;
  p.lead.pan = 0.15;
  p.counter = p.lead;
  p.counter.timbre = Timbre::BellLead;
  p.counter.gain = 0.11;
  p.counter.pan = -0.4;
  p.bassOctave = 34;
  p.padCentre = 62;
  p.arpBase = 70;
  p.echoRows = 3;
  p.reverbSize = 0.55;
  return p;
}

}  // namespace

void GenerateMusic(const std::string& outDir) {
  const PieceSpec pieces[] = {TitleTheme(), ModeSelectTheme(), FlightE(), FlightA(),
                              FlightC(), FlightFSharp(), FlightBFlat()};
  for (const PieceSpec& piece : pieces) {
    RenderedLoop loop = RenderPiece(piece);
    if (WriteWav(outDir + "/" + piece.file, loop.samples, 2))
      std::printf("%s  %.2f s loop, %.0f bpm\n", piece.file.c_str(), loop.seconds, piece.bpm);
  }
}
