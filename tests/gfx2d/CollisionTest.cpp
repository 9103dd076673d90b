// Pixel-exact collision of sprites and animation frames.
#include "Gfx2dFixture.h"
#include "runtime/files/PngCodec.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/runtime.h"

using Collisions = Gfx2d;

TEST_F(Collisions, TouchingEdgesDoNotCollideOverlappingOnesDo) {
    Load(WriteBmp("solid.bmp", 16, 16, [](int, int) { return kWhite; }), 1);
    EXPECT_EQ(SpriteCollision(1, 0, 0, 1, 16, 0), 0.0);
    EXPECT_EQ(SpriteCollision(1, 0, 0, 1, 15, 0), 1.0);
    EXPECT_EQ(SpriteCollision(1, 0, 0, 1, 0, 16), 0.0);
    EXPECT_EQ(SpriteCollision(1, 0, 0, 1, 15, 15), 1.0);
    EXPECT_EQ(SpriteCollision(1, 100, 100, 1, 85, 85), 1.0);
    EXPECT_EQ(SpriteCollision(1, 100, 100, 1, 84, 100), 0.0);
    EXPECT_NE(Device().KeptCollisionMask(1), nullptr);
}

TEST_F(Collisions, TransparentPixelsNeverCollide) {
    // A ring: the key colour inside, solid at the border.
    Load(WriteBmp(
             "ring.bmp", 16, 16,
             [](int x, int y) { return x == 0 || y == 0 || x == 15 || y == 15 ? kWhite : kKey; }),
         2);
    Load(WriteBmp("dot.bmp", 4, 4, [](int, int) { return kWhite; }), 3);
    EXPECT_EQ(SpriteCollision(2, 0, 0, 3, 6, 6), 0.0);   // inside the ring
    EXPECT_EQ(SpriteCollision(2, 0, 0, 3, 13, 6), 1.0);  // over its right border
    EXPECT_EQ(SpriteCollision(3, 6, 6, 2, 0, 0), 0.0);
    EXPECT_EQ(SpriteCollision(2, 0, 0, 2, 1, 1), 1.0);
}

TEST_F(Collisions, AlphaOfOneCountsAsSolid) {
    const uint8_t pixels[] = {0, 0, 0, 1, 0, 0, 0, 0};  // blue, green, red, alpha
    const std::string path = TestFile("faint.png");
    ASSERT_TRUE(EncodePng(path.c_str(), pixels, 2, 1));
    Load(path, 4);
    Load(WriteBmp("dot1.bmp", 1, 1, [](int, int) { return kWhite; }), 5);
    EXPECT_EQ(SpriteCollision(4, 10, 10, 5, 10, 10), 1.0);
    EXPECT_EQ(SpriteCollision(4, 10, 10, 5, 11, 10), 0.0);
}

TEST_F(Collisions, AnimationFramesUseTheirOwnPixels) {
    // A strip of four 8 x 8 frames; only frame 3 is solid in its left half.
    const auto path = WriteBmp("strip.bmp", 32, 8, [](int x, int) {
        return x >= 24 && x < 28 ? kWhite : x < 24 && x % 8 >= 4 ? kWhite : kKey;
    });
    ASSERT_EQ(LoadAnimation(RtString(path.c_str()), 6, 8, 8), 1.0);
    Load(WriteBmp("dot2.bmp", 1, 1, [](int, int) { return kWhite; }), 7);
    EXPECT_EQ(AnimationCollision(6, 3, 50, 50, 7, 0, 51, 51), 1.0);
    EXPECT_EQ(AnimationCollision(6, 3, 50, 50, 7, 0, 55, 51), 0.0);
    EXPECT_EQ(AnimationCollision(6, 0, 50, 50, 7, 0, 51, 51), 0.0);
    EXPECT_EQ(AnimationCollision(6, 0, 50, 50, 7, 0, 55, 51), 1.0);
    // The frame's box is 8 wide: beyond it nothing collides.
    EXPECT_EQ(AnimationCollision(6, 3, 50, 50, 7, 0, 60, 51), 0.0);
    // A slot without frames counts whole, whatever the frame number.
    EXPECT_EQ(AnimationCollision(7, 9, 55, 51, 6, 0, 50, 50), 1.0);
}

TEST_F(Collisions, EmptySlotsNeverCollide) {
    Load(WriteBmp("solid2.bmp", 16, 16, [](int, int) { return kWhite; }), 1);
    EXPECT_EQ(SpriteCollision(1, 0, 0, 900, 0, 0), 0.0);
}

TEST_F(Collisions, ReloadingASlotRenewsItsMask) {
    const auto clear = WriteBmp("clear.bmp", 4, 4, [](int, int) { return kKey; });
    const auto solid = WriteBmp("solid4.bmp", 4, 4, [](int, int) { return kWhite; });
    Load(clear, 8);
    EXPECT_EQ(SpriteCollision(8, 0, 0, 8, 0, 0), 0.0);
    Load(solid, 8);
    EXPECT_EQ(Device().KeptCollisionMask(8), nullptr);
    EXPECT_EQ(SpriteCollision(8, 0, 0, 8, 0, 0), 1.0);
}

TEST_F(Collisions, FramesPastThePictureAreNotSolid) {
    const auto path = WriteBmp("strip2.bmp", 16, 8, [](int, int) { return kWhite; });
    ASSERT_EQ(LoadAnimation(RtString(path.c_str()), 6, 8, 8), 1.0);
    Load(WriteBmp("dot3.bmp", 1, 1, [](int, int) { return kWhite; }), 7);
    EXPECT_EQ(AnimationCollision(6, 1, 0, 0, 7, 0, 1, 1), 1.0);
    EXPECT_EQ(AnimationCollision(6, 9, 0, 0, 7, 0, 1, 1), 0.0);
}
