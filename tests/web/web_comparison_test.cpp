// The web build in headless Chromium against the native build, on one
// script through title, mode select, countdown, flight with steering, boost,
// a pause, a dash and a crash: every field of every frame's state dump, the
// sound trace and the captured pictures; then a reload of the page keeps the
// best score that crash set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/corvane_run.h"
#include "support/dump_comparison.h"
#include "web/chromium_run.h"

namespace {

// Steering 380-420, hands-off (the boost) from about 460, pause 500-520, a
// dash at 640 once the score allows it; the ship hits a stone at 908.
const char* const SCRIPT =
    "0:\n60: enter\n62:\n140: enter\n142:\n380: left\n400: left up\n420:\n500: esc\n502:\n520: enter\n522:\n"
    "640: d\n642:\n";
constexpr int FRAMES = 920;
const std::vector<int> CAPTURED = {30, 100, 150, 250, 450, 600};  // title twice, mode select, countdown, flight
const char* const CAPTURE_LIST = "30,100,150,250,450,600";

// The web build runs the same code compiled to WebAssembly, whose float
// arithmetic is IEEE single precision like x86-64's SSE; only the maths
// library differs (Emscripten's musl instead of glibc), within one unit in
// the last place, so floats may be a few ULPs apart (measured: none is; the
// projection matrix computes its cotangent through double for this).
constexpr int FLOAT_ULPS = 4;

// Two different software rasterisers draw the same calls: Mesa's llvmpipe
// natively, SwiftShader (through ANGLE) in Chromium. They filter textures,
// blend and round colours with other precision, so colours may be a level
// apart anywhere; and they place triangle edges with other sub-pixel
// precision, so a pixel on an edge may be covered by one and not the other: a
// full-contrast difference on scattered single pixels (measured: at most
// 0.14 levels mean, 99th percentile 1 level, 52 pixels more than 16 levels
// apart). A missing, moved or miscoloured sprite or mesh shows far beyond
// these bounds.
constexpr double MEAN_LEVELS = 0.5;   // per channel value, over the whole picture
constexpr int P99_LEVELS = 2;         // 99 % of channel values at most this far apart
constexpr int FAR_LEVELS = 16;
constexpr double FAR_SHARE = 0.001;   // pixels with a channel more than FAR_LEVELS apart

struct PictureDifference {
  double mean = 0.0;
  int p99 = 0;
  double farShare = 0.0;
};

PictureDifference Compare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  std::vector<long> histogram(256, 0);
  double total = 0.0;
  long far = 0;
  const size_t pixels = a.size() / 4;
  for (size_t p = 0; p < pixels; ++p) {
    int largest = 0;
    for (size_t c = 0; c < 3; ++c) {  // alpha: the presented picture is opaque
      const int d = std::abs(int(a[p * 4 + c]) - int(b[p * 4 + c]));
      ++histogram[d];
      total += d;
      largest = std::max(largest, d);
    }
    far += largest > FAR_LEVELS;
  }
  PictureDifference result;
  result.mean = total / double(3 * pixels);
  result.farShare = double(far) / double(pixels);
  long below = 0;  // the smallest difference 99 % of the values do not exceed
  while (below < long(0.99 * double(3 * pixels))) below += histogram[result.p99++];
  --result.p99;
  return result;
}

}  // namespace

TEST(WebBuildInChromium, PlaysTheScriptLikeTheNativeBuildAndKeepsItsScoreOverAReload) {
  SKIP_WITHOUT_WEB();
  SiteServer site;
  ASSERT_TRUE(site.Serving()) << "python3 -m http.server did not start on 127.0.0.1";

  CorvaneRunOptions options = ComparedRunOptions(SCRIPT, FRAMES, CAPTURE_LIST);
  CorvaneRun native = RunCorvane(options);
  ASSERT_EQ(native.exitCode, 0) << native.stderrText;
  const std::string profile = MakeScratchDir("web-profile");
  CorvaneRun web = RunInChromium(site, options, profile);
  ASSERT_EQ(web.exitCode, 0) << web.stderrText;

  // The script did what it says, natively.
  ASSERT_EQ(native.dump.size(), size_t(FRAMES));
  EXPECT_EQ(native.At(510)["Round"]["phase"].number, 4) << "paused";
  EXPECT_TRUE(native.At(645)["Player"]["dashing"].number) << "dashing";
  EXPECT_EQ(native.At(FRAMES - 1)["Round"]["phase"].number, 3) << "crashed";
  const double best = native.At(FRAMES - 1)["bestScores"][0].number;
  EXPECT_GT(best, 0) << "the crash sets a best score";

  ASSERT_NO_FATAL_FAILURE(ExpectSameDumpsAndSounds(native, web, FLOAT_ULPS));

  for (int frame : CAPTURED) {
    int w = 0, h = 0, w2 = 0, h2 = 0;
    std::vector<unsigned char> a, b;
    ASSERT_TRUE(ReadPng(CapturePath(native, frame), w, h, a)) << "frame " << frame;
    ASSERT_TRUE(ReadPng(CapturePath(web, frame), w2, h2, b)) << "web frame " << frame;
    ASSERT_TRUE(w == w2 && h == h2) << "frame " << frame;
    const PictureDifference d = Compare(a, b);
    std::printf("frame %d: mean %.3f levels, 99th percentile %d, %.4f %% of pixels far apart\n", frame, d.mean,
                d.p99, 100.0 * d.farShare);
    EXPECT_LE(d.mean, MEAN_LEVELS) << "frame " << frame;
    EXPECT_LE(d.p99, P99_LEVELS) << "frame " << frame;
    EXPECT_LE(d.farShare, FAR_SHARE) << "frame " << frame;
  }

  // The page again, in the same browser profile: the score is in the table.
  options = {};
  options.frames = 2;
  options.dumpFrames = "1";
  CorvaneRun reloaded = RunInChromium(site, options, profile);
  ASSERT_EQ(reloaded.exitCode, 0) << reloaded.stderrText;
  EXPECT_EQ(reloaded.At(1)["bestScores"][0].number, best);
}
