// The texel work on its own: sides, bleeding at the border, the mip filter.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/gfx2d/TextureTexels.h"

TEST(TextureTexels, SidesArePowersOfTwoWithAMinimum) {
    EXPECT_EQ(PowerOfTwoSide(1, 2), 2);
    EXPECT_EQ(PowerOfTwoSide(5, 2), 8);
    EXPECT_EQ(PowerOfTwoSide(8, 2), 8);
    EXPECT_EQ(PowerOfTwoSide(20, 32), 32);
    EXPECT_EQ(PowerOfTwoSide(33, 32), 64);
    EXPECT_EQ(PowerOfTwoSide(0, 2), 2);
}

TEST(TextureTexels, TwoByTwoTextureHasNoInnerNeighbours) {
    std::vector<uint8_t> texels = {200, 100, 50, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    BleedColourIntoTransparentTexels(texels.data(), 2, 2);
    EXPECT_EQ(texels[4], 0);
    EXPECT_EQ(texels[12], 0);
}

TEST(TextureTexels, LastLevelOfTheChainIsTheCornerTexel) {
    const std::vector<uint8_t> two = {10, 20, 30, 40, 50, 60, 70, 80, 1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<uint8_t> one;
    NextMipLevel(two.data(), 2, one);
    ASSERT_EQ(one.size(), 4u);
    EXPECT_EQ(one[0], 10);
    EXPECT_EQ(one[3], 40);
}
