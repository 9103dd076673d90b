// The texel work on its own: sides, bleeding at the border, the mip filter.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
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

// Each transparent texel, by the rule itself: the mean colour of its opaque
// neighbours inside the one-texel border, black without any.
std::vector<uint8_t> BledByTheRule(const std::vector<uint8_t>& texels, int w, int h) {
    std::vector<uint8_t> bled = texels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (texels[(y * w + x) * 4 + 3] != 0) continue;
            int sum[3] = {0, 0, 0}, count = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny)
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if (ny < 1 || ny > h - 2 || nx < 1 || nx > w - 2 || (nx == x && ny == y))
                        continue;
                    const uint8_t* n = &texels[(ny * w + nx) * 4];
                    if (n[3] == 0) continue;
                    for (int c = 0; c < 3; ++c) sum[c] += n[c];
                    ++count;
                }
            for (int c = 0; c < 3; ++c) bled[(y * w + x) * 4 + c] = count ? sum[c] / count : 0;
        }
    }
    return bled;
}

// Pictures in the corner of larger textures, with holes, lone texels and
// opaque texels on the border: every texel as the rule gives it.
TEST(TextureTexels, BleedingFollowsTheRuleEverywhereInPaddedPictures) {
    std::mt19937 random(22);
    for (const auto& [w, h, pw, ph] : {std::array<int, 4>{64, 64, 37, 50},
                                       {32, 8, 32, 8},
                                       {16, 64, 3, 1},
                                       {8, 8, 0, 0},
                                       {128, 32, 100, 5}}) {
        std::vector<uint8_t> texels(static_cast<size_t>(w) * h * 4, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* t = &texels[(y * w + x) * 4];
                for (int c = 0; c < 3; ++c) t[c] = static_cast<uint8_t>(random());
                const bool inPicture = x < pw && y < ph;
                t[3] = (inPicture && random() % 5 != 0) || random() % 97 == 0 ? 255 : 0;
            }
        const std::vector<uint8_t> wanted = BledByTheRule(texels, w, h);
        BleedColourIntoTransparentTexels(texels.data(), w, h);
        EXPECT_EQ(texels, wanted) << w << " x " << h;
    }
}

TEST(TextureTexels, LastLevelOfTheChainIsTheCornerTexel) {
    const std::vector<uint8_t> two = {10, 20, 30, 40, 50, 60, 70, 80, 1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<uint8_t> one;
    NextMipLevel(two.data(), 2, one);
    ASSERT_EQ(one.size(), 4u);
    EXPECT_EQ(one[0], 10);
    EXPECT_EQ(one[3], 40);
}
