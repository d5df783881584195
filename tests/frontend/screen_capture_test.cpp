// Presented pictures of the title and mode-select screens: the lettering
// band, the chosen entry's highlight and the chosen icon's size.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include "frontend/game_run.h"

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;

  const unsigned char* At(int x, int y) const { return &rgba[((size_t)y * width + x) * 4]; }
  // Pixels of row y in [x0, x1) that pass the test.
  template <typename Test>
  int Count(int y, int x0, int x1, Test test) const {
    int count = 0;
    for (int x = x0; x < x1; ++x) {
      const unsigned char* p = At(x, y);
      if (test(p[0], p[1], p[2])) ++count;
    }
    return count;
  }
};

Picture LoadCapture(const GameRun& run, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06d.png", frame);
  Picture picture;
  int channels = 0;
  unsigned char* pixels = stbi_load((run.folder / "captures" / name).c_str(), &picture.width,
                                    &picture.height, &channels, 4);
  if (pixels != nullptr) {
    picture.rgba.assign(pixels, pixels + (size_t)picture.width * picture.height * 4);
    stbi_image_free(pixels);
  }
  return picture;
}

bool White(int r, int g, int b) { return r > 200 && g > 200 && b > 200; }
bool Cyan(int r, int g, int b) { return r < 120 && g > 150 && b > 150; }
bool Lit(int r, int g, int b) { return r > 100 || g > 100 || b > 100; }

TEST(TitleCapture, LetteringAndTheChosenEntryStandOut) {
  GameRun run = RunGame("title-capture", "0:\n20: down\n22:\n", 41, "", "19,40");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  for (int frame : {19, 40}) {
    SCOPED_TRACE(frame);
    Picture picture = LoadCapture(run, frame);
    ASSERT_EQ(picture.width, 800);
    ASSERT_EQ(picture.height, 600);
    // The white lettering copy fills its band; the sky below it has none.
    EXPECT_GT(picture.Count(125, 0, 800, White), 150);
    EXPECT_LT(picture.Count(250, 0, 800, White), 20);
    // The chosen word is full white with a cyan copy growing out of it;
    // the other word is dimmed to grey.
    int chosenY = frame == 19 ? 382 : 482, otherY = frame == 19 ? 482 : 382;
    EXPECT_GT(picture.Count(chosenY, 100, 450, Cyan), 20);
    EXPECT_GT(picture.Count(chosenY, 100, 450, White), 30);
    EXPECT_LT(picture.Count(otherY, 100, 450, Cyan), 5);
    EXPECT_LT(picture.Count(otherY, 100, 450, White), 10);
  }
}

TEST(ModeSelectCapture, ChosenIconShowsAtOneAndAHalfTimesItsSize) {
  GameRun run = RunGame("select-capture", "0:\n5: enter\n7:\n80: down\n82:\n", 96, "", "75,95");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  // A 128-pixel icon at 1.5 reaches 96 pixels either side of its centre; at
  // 0.6 only 38, and dimmed to alpha 50.
  Picture first = LoadCapture(run, 75);
  ASSERT_EQ(first.width, 800);
  EXPECT_GT(first.Count(150, 304, 340, Lit), 0);  // option 0 at (400, 150)
  EXPECT_GT(first.Count(150, 460, 496, Lit), 0);
  EXPECT_EQ(first.Count(450, 40, 260, Lit), 0);   // option 2 at (150, 450)

  Picture second = LoadCapture(run, 95);
  ASSERT_EQ(second.width, 800);
  EXPECT_GT(second.Count(450, 54, 90, Lit), 0);
  EXPECT_GT(second.Count(450, 210, 246, Lit), 0);
  EXPECT_EQ(second.Count(150, 250, 550, Lit), 0);
}

}  // namespace
