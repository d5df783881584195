// The test programs' main(). The platform library carries the game's own
// main() (which runs WinMain); defining main here keeps that one out.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
