// The front-end screens run by the real program on scripted keys, checked
// through state dumps, the sound trace and presented pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "support/corvane_run.h"

namespace fs = std::filesystem;

namespace {

using Frames = std::vector<int>;

CorvaneRun RunFrontEnd(const std::string& script, int frames, const std::string& dumps, const std::string& captures = "",
               const std::function<void(const std::string&)>& prepareData = nullptr) {
  CorvaneRunOptions options;
  options.script = script;
  options.frames = frames;
  options.dumpFrames = dumps;
  options.captureFrames = captures;
  options.soundTrace = true;
  options.prepareData = prepareData;
  return RunCorvane(options);
}

// How many of `frames` are `frame`.
size_t CountOf(const Frames& frames, int frame) { return (size_t)std::count(frames.begin(), frames.end(), frame); }

bool IsGameTrack(const std::string& slot) {
  for (const char* track : {"SND_BE03", "SND_BE05", "SND_BE08", "SND_LOOP_47", "SND_BE08_B", "SND_LOOP_46"})
    if (slot == track) return true;
  return false;
}

// How many pixels of row y in [x0, x1) of a captured frame pass `test`.
int CountRow(const CorvaneRun& run, int frame, int y, int x0, int x1, bool (*test)(int, int, int)) {
  int w = 0, h = 0, count = 0;
  std::vector<unsigned char> rgba;
  if (!ReadPng(CapturePath(run, frame), w, h, rgba) || w != 800 || h != 600) {
    ADD_FAILURE() << "no 800x600 capture of frame " << frame;
    return 0;
  }
  for (int x = x0; x < x1; ++x) {
    const unsigned char* p = &rgba[((size_t)y * w + x) * 4];
    count += test(p[0], p[1], p[2]);
  }
  return count;
}
bool White(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool Cyan(int r, int g, int b) { return r < 120 && g > 150 && b > 150; }
bool Lit(int r, int g, int b) { return r > 100 || g > 100 || b > 100; }

TEST(FrontEndRun, TitlePulseMenuAndQuit) {
  CorvaneRun run = RunFrontEnd("0:\n90: down\n92:\n94: up\n96:\n98: down up\n100:\n102: down\n104:\n120: enter\n",
                        300, "83-85,90,91,92,94,98,103", "19,118");
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_EQ(run.At(83)["titlePulseAlpha"].number, 3);
  EXPECT_EQ(run.At(84)["titlePulseAlpha"].number, 255);  // reached 0 and restarted in one frame
  EXPECT_FLOAT_EQ(run.At(84)["titlePulseScale"].number, 1.0f);
  EXPECT_EQ(run.At(85)["titlePulseAlpha"].number, 252);
  EXPECT_EQ(run.At(90)["menuCursor"].number, 1);
  EXPECT_EQ(run.At(90)["titlePulseAlpha"].number, 252);  // restarted by the move, then advanced
  EXPECT_EQ(run.At(91)["arrowKeyLatch"].number, 1);
  EXPECT_EQ(run.At(92)["arrowKeyLatch"].number, 0);
  EXPECT_EQ(run.At(94)["menuCursor"].number, 0);
  EXPECT_EQ(run.At(98)["menuCursor"].number, 1);  // Down and Up together: Down only
  EXPECT_EQ(run.At(103)["menuCursor"].number, 1);  // Down on the last entry: nothing, no latch
  EXPECT_EQ(run.At(103)["arrowKeyLatch"].number, 0);
  EXPECT_EQ(run.Calls("SND_TRAMP", "Play"), (Frames{90, 94, 98}));
  EXPECT_EQ(run.Calls("SND_TRAMP", "SetCurrentPosition"), (Frames{90, 94, 98}));
  EXPECT_EQ(run.Calls("SND_LOOP_60", "Play").size(), 121u);
  // Enter on the quit entry ends the run at once, through the normal shutdown.
  EXPECT_EQ(run.Calls("", "Play").back(), 120);
  EXPECT_EQ(ReadText(run.dataDir + "/TEXT/ranking.txt"), "0 0 0 ");

  // The lettering band is bright; the chosen word is white with a cyan copy
  // growing out of it, the other grey.
  for (auto [frame, chosen, other] : {std::tuple{19, 382, 482}, std::tuple{118, 482, 382}}) {
    SCOPED_TRACE(frame);
    EXPECT_GT(CountRow(run, frame, 125, 0, 800, White), 150);
    EXPECT_LT(CountRow(run, frame, 250, 0, 800, White), 20);
    EXPECT_GT(CountRow(run, frame, chosen, 100, 450, Cyan), 20);
    EXPECT_GT(CountRow(run, frame, chosen, 100, 450, White), 30);
    EXPECT_LT(CountRow(run, frame, other, 100, 450, Cyan) + CountRow(run, frame, other, 100, 450, White), 10);
  }
}

TEST(FrontEndRun, ModeSelectMovesFadeAndGameMusic) {
  // Each step holds its keys for one frame and then lets go for two, so
  // that a key held but never polled (a lower priority) is seen up again.
  const struct { const char* keys; int cursor; } steps[] = {
      {"left", 2}, {"down", 2}, {"right", 3}, {"right", 3}, {"left", 2}, {"up", 0},
      {"up", 0},   {"right", 3}, {"down", 3}, {"up", 0},    {"down", 2}, {"left", 2},
      {"up", 0},   {"left up", 2}, {"right down", 3}, {"up", 0}};
  auto stepFrame = [](int i) { return 72 + 3 * i; };
  // A Left tap on the title, then Enter held through the whole fade.
  std::string script = "0:\n3: left\n4:\n5: enter\n70:\n", dumps = "6,55,56,57,65,125,126,128,178,179";
  for (int i = 0; i < 16; ++i) {
    script += std::to_string(stepFrame(i)) + ": " + steps[i].keys + "\n" + std::to_string(stepFrame(i) + 1) + ":\n";
    dumps += "," + std::to_string(stepFrame(i));
  }
  CorvaneRun run = RunFrontEnd(script + "128: enter\n130:\n", 182, dumps, "71,73");
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;

  EXPECT_EQ(run.At(6)["fadeAlpha"].number, 5);
  EXPECT_EQ(run.At(55)["fadeAlpha"].number, 250);
  EXPECT_EQ(run.At(56)["scene"].number, 1);
  EXPECT_EQ(run.At(56)["fadeAlpha"].number + run.At(56)["fadeActive"].number, 0);
  EXPECT_EQ(CountOf(run.Calls("", "Stop"), 56), 32u);
  EXPECT_EQ(CountOf(run.Calls("", "Stop"), 179), 32u);
  EXPECT_EQ(run.Calls("", "Stop").front(), 56);
  EXPECT_EQ(run.Calls("", "Stop")[32], 179);
  EXPECT_EQ(run.At(57)["selectCursor"].number, 0);  // the title swallowed the Left tap
  EXPECT_EQ(run.At(65)["fadeActive"].number, 0);     // the held Enter does nothing

  for (int i = 0, previous = 0; i < 16; previous = steps[i++].cursor) {
    SCOPED_TRACE(steps[i].keys);
    EXPECT_EQ(run.At(stepFrame(i))["selectCursor"].number, steps[i].cursor);
    EXPECT_EQ(CountOf(run.Calls("SND_TRAMP", "Play"), stepFrame(i)), steps[i].cursor != previous ? 1u : 0u);
  }
  EXPECT_LT(run.At(125)["selectZoom"].number, 1.0);
  EXPECT_EQ((float)run.At(126)["selectZoom"].number, 1.0000001f);  // the tenth frame from the last move

  // The chosen icon at 1.5 reaches 96 pixels either side of its centre; at
  // 0.6 only 38, and at alpha 50 it stays dark.
  EXPECT_GT(CountRow(run, 71, 150, 304, 340, Lit), 0);
  EXPECT_GT(CountRow(run, 71, 150, 460, 496, Lit), 0);
  EXPECT_EQ(CountRow(run, 71, 450, 40, 260, Lit), 0);
  EXPECT_GT(CountRow(run, 73, 450, 54, 90, Lit), 0);
  EXPECT_EQ(CountRow(run, 73, 150, 250, 550, Lit), 0);

  EXPECT_EQ(run.At(128)["fadeActive"].number, 1);
  EXPECT_EQ(run.At(178)["scene"].number, 1);
  EXPECT_EQ(run.At(179)["scene"].number, 2);
  EXPECT_EQ(run.At(179)["Round"]["mode"].number, 0);
  int tracks = 0;
  for (const TraceLine& line : run.trace) {
    if (line.frame != 179 || !IsGameTrack(line.slot)) continue;
    if (line.method == "Play") {
      EXPECT_EQ(line.args, "0 0 1");
      ++tracks;
    }
    if (line.method == "SetVolume") {
      EXPECT_EQ(line.args, "-500");
    }
  }
  EXPECT_EQ(tracks, 1);
}

TEST(FrontEndRun, ReturnOptionAndEnterOnTheSwitchFrames) {
  // Enter lands exactly on the frames in which the fades switch the screen.
  CorvaneRun run = RunFrontEnd("0:\n5: enter\n7:\n56: enter\n58:\n60: right\n62:\n64: enter\n66:\n"
                        "115: enter\n117:\n", 125, "57,63,64,114,115,124");
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  EXPECT_EQ(run.At(57)["fadeActive"].number, 0);
  EXPECT_EQ(run.At(63)["selectCursor"].number, 3);
  EXPECT_EQ(run.At(64)["fadeActive"].number, 1);
  EXPECT_EQ(run.At(114)["scene"].number, 1);
  EXPECT_EQ(run.At(115)["scene"].number + run.At(115)["menuCursor"].number, 0);
  EXPECT_EQ(run.At(124)["scene"].number + run.At(124)["fadeActive"].number, 0);
  // A game track starts and is stopped with everything else; then only the
  // title music plays.
  std::string track;
  for (const TraceLine& line : run.trace)
    if (line.frame == 115 && line.method == "Play" && IsGameTrack(line.slot)) track = line.slot;
  ASSERT_FALSE(track.empty());
  EXPECT_EQ(CountOf(run.Calls(track, "Stop"), 115), 2u);
  for (const TraceLine& line : run.trace) {
    if (line.frame > 115 && line.method == "Play") {
      EXPECT_EQ(line.slot, "SND_LOOP_60");
    }
  }
}

TEST(FrontEndRun, OddAssetNamesAreFoundAndMissingOnesNamedWithTheirFolder) {
  CorvaneRun run = RunFrontEnd("0:\n10: down\n12:\n", 20, "19", "", [](const std::string& dataDir) {
    const fs::path data = dataDir;
    for (const char* sub : {"wav", "bmp"}) {
      fs::remove(data / sub);
      fs::create_directory(data / sub);
      for (const auto& entry : fs::directory_iterator(fs::path(CORVANE_BINARY_DIR) / "data" / sub)) {
        std::string name = entry.path().filename().string();
        if (name == "成功.wav" || name == "oph.bmp") continue;
        if (name == "tramp.wav") name = "TRAMP.WAV";
        if (name == "カスリ.wav") name = "\x83\x4A\x83\x58\x83\x8A.wav";  // its code page 932 bytes
        fs::create_symlink(entry.path(), data / sub / name);
      }
    }
  });
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;
  const std::string data = fs::canonical(run.dataDir).string();
  EXPECT_NE(run.stderrText.find("missing sound \"wav/成功.wav\" (also tried its Shift-JIS name) (looked in " +
                            data + "/wav)"), std::string::npos) << run.stderrText;
  EXPECT_NE(run.stderrText.find("missing texture \"bmp/oph.bmp\" (looked in " + data + "/bmp)"),
            std::string::npos) << run.stderrText;
  EXPECT_EQ(run.stderrText.find("カスリ"), std::string::npos) << run.stderrText;
  EXPECT_EQ(run.stderrText.find("tramp"), std::string::npos) << run.stderrText;
  EXPECT_EQ(run.Calls("SND_TRAMP", "Play"), (Frames{10}));
  EXPECT_EQ(run.At(19)["menuCursor"].number, 1);
}

}  // namespace
