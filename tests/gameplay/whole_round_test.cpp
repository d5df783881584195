// A normal run through the built program: countdown, flight, boost and pause
// as the state dump and the sound trace show them, frame by frame.
#include "gameplay/gameplay_fixture.h"
#include "support/corvane_run.h"

TEST(WholeRound, CountdownFlightBoostAndPauseFollowTheFrameCounts) {
  CorvaneRunOptions options;
  options.script = "0:\n60: enter\n62:\n140: enter\n142:\n450: esc\n452:\n";
  options.frames = 460;
  options.dumpFrames = "all";
  options.soundTrace = true;
  CorvaneRun run = RunCorvane(options);
  ASSERT_EQ(run.exitCode, 0) << run.stderrText;

  int first = -1;  // the first frame GameFrame runs
  for (const JsonValue& row : run.dump)
    if (first < 0 && row["scene"].number == SCENE_GAME) first = (int)row["frame"].number + 1;
  ASSERT_GT(first, 0);
  ASSERT_LT(first + 210, 450);
  EXPECT_EQ(run.Calls("SND_COUNTDOWN_3", "Play", "0 0 0"),
            (std::vector<int>{first + 1, first + 58, first + 115}));
  EXPECT_EQ(run.dump[first + 169]["Round"]["phase"].number, PHASE_COUNTDOWN);
  EXPECT_EQ(run.dump[first + 170]["Round"]["phase"].number, PHASE_FLYING);
  EXPECT_EQ(run.Calls("passSound", "Play", "0 0 1"), std::vector<int>{first + 170});
  EXPECT_EQ(run.Calls("SND_FORWARD_DASH", "Play", "0 0 0"), std::vector<int>{first + 210});
  EXPECT_EQ(run.Calls("SND_ESC", "Play", "0 0 0"), std::vector<int>{450});
  EXPECT_EQ(run.dump[450]["Round"]["phase"].number, PHASE_PAUSED);
  EXPECT_EQ(run.dump[455]["Round"]["score"].number, run.dump[450]["Round"]["score"].number);
}
