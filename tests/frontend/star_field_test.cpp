// The mode-select star field: three units a frame towards the viewer, and
// back 100 to 299 ahead once at -5 or nearer.
#include <gtest/gtest.h>

#include "frontend/mode_select.h"
#include "game/world_state.h"

TEST(StarField, StarsFlyAndRespawnAhead) {
  for (Star& star : stars) star = Star{D3DXVECTOR3(1.5f, 2.5f, 50.0f), {10.0f, 20.0f, 30.0f}};
  stars[0].pos.z = -1.9f;  // to -4.9: still flying
  for (int frame = 0; frame < 200; ++frame) {
    stars[1].pos.z = -2.0f;  // to -5.0: respawns every frame
    ModeSelectInput();
    const Star& reborn = stars[1];
    ASSERT_TRUE(reborn.pos.x >= -100.0f && reborn.pos.x <= 99.0f) << reborn.pos.x;
    ASSERT_TRUE(reborn.pos.y >= -100.0f && reborn.pos.y <= 99.0f) << reborn.pos.y;
    ASSERT_TRUE(reborn.pos.z >= 100.0f && reborn.pos.z <= 299.0f) << reborn.pos.z;
    ASSERT_EQ(reborn.pos.z, (float)(int)reborn.pos.z);
    ASSERT_EQ(reborn.color.g, 20.0f);
    if (frame == 0) {
      EXPECT_FLOAT_EQ(stars[0].pos.z, -4.9f);
      EXPECT_FLOAT_EQ(stars[0].pos.x, 1.5f);
      EXPECT_FLOAT_EQ(stars[2].pos.z, 47.0f);
    }
  }
}
