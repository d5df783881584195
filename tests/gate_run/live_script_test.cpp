// Live key scripts: read a line at a time as frames need them, so a driver can
// answer each frame's dump with the keys of the next.
#include <gtest/gtest.h>
#include <unistd.h>
#include <windows.h>

#include <cstdio>

#include "common/input_script.h"
#include "gate_run/live_run.h"

TEST(LiveScript, ReadsOnlyAsFarAsTheFrameNeedsAndStopsAtBadLines) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const char text[] = "0: enter\n# a comment\n\n3: up  left\n7:\n9: jump\n12: down\n";
  ASSERT_EQ(write(fds[1], text, sizeof text - 1), (ssize_t)(sizeof text - 1));
  close(fds[1]);
  corvane::LiveScriptReader reader;
  reader.in = fdopen(fds[0], "r");
  corvane::InputScript script;
  std::string error;

  ASSERT_TRUE(reader.ReadThrough(0, script, error));
  ASSERT_EQ(script.lines.size(), 1u);
  ASSERT_TRUE(reader.ReadThrough(2, script, error));  // frame 3 is the first line at or after 2
  ASSERT_EQ(script.lines.size(), 2u);
  EXPECT_EQ(script.LineAt(2)->keys, std::vector<int>{VK_RETURN});
  EXPECT_EQ(script.LineAt(5)->keys, std::vector<int>({VK_UP, VK_LEFT}));
  ASSERT_TRUE(reader.ReadThrough(7, script, error));
  EXPECT_EQ(script.lines.size(), 3u);
  EXPECT_TRUE(script.LineAt(8)->keys.empty());

  EXPECT_FALSE(reader.ReadThrough(8, script, error));
  EXPECT_EQ(error.find("line 6: unknown key 'jump'"), 0u) << error;
  EXPECT_TRUE(reader.ended);
  EXPECT_TRUE(reader.ReadThrough(20, script, error));  // nothing more is read
  EXPECT_EQ(script.lines.size(), 3u);
  std::fclose(reader.in);
}

// A line without end is refused at the length limit, having read no further;
// an editor's byte-order mark before the first line is no part of it.
TEST(LiveScript, LinesAreBoundedAndAByteOrderMarkIsSkipped) {
  corvane::LiveScriptReader reader;
  reader.in = std::tmpfile();
  ASSERT_NE(reader.in, nullptr);
  const std::string endless(1 << 20, 'x');
  ASSERT_EQ(std::fwrite(endless.data(), 1, endless.size(), reader.in), endless.size());
  std::rewind(reader.in);
  corvane::InputScript script;
  std::string error;
  EXPECT_FALSE(reader.ReadThrough(0, script, error));
  EXPECT_EQ(error, "line 1: longer than 4096 characters");
  EXPECT_LE(std::ftell(reader.in), 8192);
  std::fclose(reader.in);

  ASSERT_TRUE(corvane::ParseInputScript("\xEF\xBB\xBF" "0: up\n", script, error)) << error;
  EXPECT_EQ(script.LineAt(0)->keys, std::vector<int>{VK_UP});
}

// Frame 1 is not run before its line comes; after the end of the input the
// last keys stay held and --frames ends the run.
TEST(LiveScript, TheProgramWaitsForEachFramesKeys) {
  LiveRun run;
  ASSERT_TRUE(run.Start({"--frames", "6"})) << run.error;
  ASSERT_TRUE(run.Send(0, ""));
  JsonValue state;
  ASSERT_TRUE(run.Next(state));
  EXPECT_EQ(state["frame"].number, 0);
  EXPECT_FALSE(run.Next(state, 2));  // waiting for frame 1's line
  ASSERT_TRUE(run.Send(1, "d"));
  ASSERT_TRUE(run.Next(state));
  EXPECT_EQ(state["frame"].number, 1);
  EXPECT_EQ(run.Finish(), 0);
}

TEST(LiveScript, ABadLineEndsTheRunWithAMessage) {
  LiveRun run;
  ASSERT_TRUE(run.Start()) << run.error;
  ASSERT_TRUE(run.Send(0, ""));
  JsonValue state;
  ASSERT_TRUE(run.Next(state));
  ASSERT_TRUE(run.Send(0, "up"));  // frames must increase
  EXPECT_EQ(run.Finish(), 0);
  const std::string text = ReadText(run.workDir + "/stderr.txt");
  EXPECT_NE(text.find("line 2: frame 0 does not come after frame 0; quitting"), std::string::npos) << text;
}
