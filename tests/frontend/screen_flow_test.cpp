// The front-end screens run by the real program on scripted keys: the title
// menu and pulse, quitting, the fade and its scene switches, the game music.
#include "frontend/game_run.h"

namespace {

const char* const GAME_TRACKS[6] = {"SND_BE03",    "SND_BE05",   "SND_BE08",
                                    "SND_LOOP_47", "SND_BE08_B", "SND_LOOP_46"};

bool IsGameTrack(const std::string& slot) {
  for (const char* track : GAME_TRACKS) {
    if (slot == track) return true;
  }
  return false;
}

std::vector<int> FramesOf(const std::vector<TraceLine>& lines) {
  std::vector<int> frames;
  for (const TraceLine& line : lines) frames.push_back(line.frame);
  return frames;
}

TEST(TitleScreenRun, MenuMovesOncePerPressWithOneCursorSoundEach) {
  GameRun run = RunGame("title-menu",
                        "0:\n10: down\n12:\n14: up\n16:\n20: down up\n22:\n24: down\n28:\n", 30,
                        "9-30");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(JsonNumber(run.Dump(9), "menuCursor"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(10), "menuCursor"), 1);
  // The pulse restarts on the move, then this frame's draw advances it once.
  EXPECT_EQ(JsonNumber(run.Dump(10), "titlePulseAlpha"), 252);
  EXPECT_FLOAT_EQ(JsonNumber(run.Dump(10), "titlePulseScale"), 1.01f);
  EXPECT_EQ(JsonNumber(run.Dump(11), "arrowKeyLatch"), 1);
  EXPECT_EQ(JsonNumber(run.Dump(12), "arrowKeyLatch"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(14), "menuCursor"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(14), "titlePulseAlpha"), 252);
  EXPECT_EQ(JsonNumber(run.Dump(21), "menuCursor"), 1);  // Down and Up together: Down
  EXPECT_EQ(JsonNumber(run.Dump(27), "menuCursor"), 1);  // Down held on the last entry
  EXPECT_EQ(JsonNumber(run.Dump(27), "arrowKeyLatch"), 0);

  EXPECT_EQ(FramesOf(run.Calls(-1, "SND_TRAMP", "Play")), (std::vector<int>{10, 14, 20}));
  EXPECT_EQ(FramesOf(run.Calls(-1, "SND_TRAMP", "SetCurrentPosition")),
            (std::vector<int>{10, 14, 20}));
}

TEST(TitleScreenRun, PulseRunsEightyFiveFramesThenRestarts) {
  GameRun run = RunGame("title-pulse", "0:\n", 90, "0,83-85");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(JsonNumber(run.Dump(0), "titlePulseAlpha"), 252);
  EXPECT_EQ(JsonNumber(run.Dump(83), "titlePulseAlpha"), 3);
  EXPECT_EQ(JsonNumber(run.Dump(84), "titlePulseAlpha"), 255);
  EXPECT_FLOAT_EQ(JsonNumber(run.Dump(84), "titlePulseScale"), 1.0f);
  EXPECT_EQ(JsonNumber(run.Dump(85), "titlePulseAlpha"), 252);
  // The title music is asked to loop on every frame.
  EXPECT_EQ(run.Calls(-1, "SND_LOOP_60", "Play").size(), 90u);
  EXPECT_EQ(run.Calls(0, "SND_LOOP_60", "Play").at(0).args, "0 0 1");
}

TEST(TitleScreenRun, QuitEntryEndsAtOnceThroughNormalShutdown) {
  GameRun run = RunGame("title-quit", "0:\n5: down\n9: down enter\n", 200, "all");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.LastFrame(), 9);
  EXPECT_EQ(ReadText(run.folder / "data" / "TEXT" / "ranking.txt"), "0 0 0 ");
}

TEST(FadeRun, FadeSwitchesToModeSelectAndHeldEnterWaitsForRelease) {
  GameRun run = RunGame("fade-select", "0:\n5: enter\n70:\n75: enter\n77:\n", 128,
                        "5,6,55,56,65,74,75,76,125,126");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(JsonNumber(run.Dump(5), "fadeActive"), 1);
  EXPECT_EQ(JsonNumber(run.Dump(5), "fadeAlpha"), 0);
  // The Enter rule runs after Present, so the trace may count its call
  // into the next frame.
  std::vector<int> decided = FramesOf(run.Calls(-1, "SND_SE_SOD06", "Play"));
  ASSERT_EQ(decided.size(), 2u);
  EXPECT_TRUE(decided[0] == 5 || decided[0] == 6) << decided[0];
  EXPECT_TRUE(decided[1] == 75 || decided[1] == 76) << decided[1];
  EXPECT_EQ(JsonNumber(run.Dump(6), "fadeAlpha"), 5);
  EXPECT_EQ(JsonNumber(run.Dump(55), "fadeAlpha"), 250);
  EXPECT_EQ(JsonNumber(run.Dump(55), "scene"), 0);

  const std::string& switched = run.Dump(56);
  EXPECT_EQ(JsonNumber(switched, "scene"), 1);
  EXPECT_EQ(JsonNumber(switched, "fadeAlpha"), 0);
  EXPECT_EQ(JsonNumber(switched, "fadeActive"), 0);
  // Every slot rewound and stopped at the switch, and only then.
  EXPECT_EQ(run.Calls(56, "", "Stop").size(), 32u);
  for (int frame = 57; frame < 126; ++frame) EXPECT_TRUE(run.Calls(frame, "", "Stop").empty());
  EXPECT_EQ(run.Calls(126, "", "Stop").size(), 32u);
  for (const TraceLine& line : run.Calls(56, "", "SetCurrentPosition")) EXPECT_EQ(line.args, "0");

  // Enter held through the fade does nothing until it is released.
  EXPECT_EQ(JsonNumber(run.Dump(65), "fadeActive"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(74), "scene"), 1);
  EXPECT_EQ(JsonNumber(run.Dump(75), "fadeActive"), 1);
  EXPECT_EQ(JsonNumber(run.Dump(76), "fadeAlpha"), 5);

  // Option 0 leads into a normal run with one game track at -5 dB.
  EXPECT_EQ(JsonNumber(run.Dump(125), "scene"), 1);
  EXPECT_EQ(JsonNumber(run.Dump(126), "scene"), 2);
  EXPECT_EQ(JsonNumber(run.Dump(126), "Round", "mode"), 0);
  std::vector<TraceLine> plays;
  for (const TraceLine& line : run.Calls(126, "", "Play")) {
    if (IsGameTrack(line.slot)) plays.push_back(line);
  }
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].args, "0 0 1");
  std::vector<TraceLine> volume = run.Calls(126, plays[0].slot, "SetVolume");
  ASSERT_EQ(volume.size(), 1u);
  EXPECT_EQ(volume[0].args, "-500");
}

TEST(FadeRun, ReturnOptionShowsTheTitleWithOnlyItsMusic) {
  GameRun run = RunGame("fade-return", "0:\n5: enter\n7:\n60: right\n62:\n64: enter\n66:\n", 125,
                        "60,64,114,115,124");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(JsonNumber(run.Dump(60), "selectCursor"), 3);
  EXPECT_EQ(JsonNumber(run.Dump(64), "fadeActive"), 1);
  EXPECT_EQ(JsonNumber(run.Dump(114), "scene"), 1);
  EXPECT_EQ(JsonNumber(run.Dump(115), "scene"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(115), "menuCursor"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(124), "fadeActive"), 0);

  // A game track starts and is stopped again within the switch.
  std::string track;
  for (const TraceLine& line : run.Calls(115, "", "Play")) {
    if (IsGameTrack(line.slot)) track = line.slot;
  }
  ASSERT_FALSE(track.empty());
  EXPECT_EQ(run.Calls(115, track, "Stop").size(), 2u);
  EXPECT_EQ(run.Calls(115, "", "Stop").size(), 64u);
  // From then on only the title music plays.
  for (const TraceLine& line : run.trace) {
    if (line.frame > 115 && line.method == "Play") {
      EXPECT_EQ(line.slot, "SND_LOOP_60");
    }
  }
  EXPECT_EQ(run.Calls(116, "SND_LOOP_60", "Play").size(), 1u);
}

TEST(FadeRun, EnterOnTheSwitchFrameLeavesNoFadePending) {
  GameRun run = RunGame("fade-switch-enter", "0:\n5: enter\n7:\n56: enter\n60:\n", 70,
                        "56,57,69");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(JsonNumber(run.Dump(56), "scene"), 1);
  EXPECT_EQ(JsonNumber(run.Dump(56), "fadeActive"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(57), "fadeActive"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(69), "fadeActive"), 0);
  EXPECT_EQ(JsonNumber(run.Dump(69), "scene"), 1);
}

}  // namespace
