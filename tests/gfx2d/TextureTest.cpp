// Sprite slots: texture sizes and layout, the transparent colour, colour
// bleeding, the mip chain, grabbing and freeing.
#include <cmath>

#include "Gfx2dFixture.h"
#include "runtime/files/PngCodec.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/runtime.h"

using Textures = Gfx2d;

TEST_F(Textures, FiveByThreeBmpLiesInTheLowerLeftOfAnEightByFourTexture) {
    Load(WriteBmp("five.bmp", 5, 3, [](int x, int y) { return Rgb(10 + x, 20 + y, 30); }), 7);
    EXPECT_EQ(Slot(7).textureWidth, 8);
    EXPECT_EQ(Slot(7).textureHeight, 4);
    EXPECT_EQ(Slot(7).width, 5);
    EXPECT_EQ(Slot(7).height, 3);
    double w = 0, h = 0;
    GetSpriteSize(7, w, h);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 3);
    int tw = 0;
    const auto texels = TextureTexels(Slot(7).texture, 0, &tw);
    // Texture row 2 holds the picture's top row, row 0 its bottom row.
    EXPECT_EQ(TexelColour(texels, tw, 0, 2), Rgb(10, 20, 30));
    EXPECT_EQ(TexelColour(texels, tw, 4, 2), Rgb(14, 20, 30));
    EXPECT_EQ(TexelColour(texels, tw, 0, 0), Rgb(10, 22, 30));
    EXPECT_EQ(TexelAlpha(texels, tw, 4, 0), 255);
    // Outside the picture: transparent.
    EXPECT_EQ(TexelAlpha(texels, tw, 5, 0), 0);
    EXPECT_EQ(TexelAlpha(texels, tw, 0, 3), 0);
}

TEST_F(Textures, OnePixelPictureGetsATwoByTwoTexture) {
    Load(WriteBmp("one.bmp", 1, 1, [](int, int) { return kGreen; }), 1);
    EXPECT_EQ(Slot(1).textureWidth, 2);
    EXPECT_EQ(Slot(1).textureHeight, 2);
    EXPECT_EQ(Slot(1).width, 1);
}

TEST_F(Textures, TransparentColourLoadsAsTransparentBlackUntilSetToNone) {
    const auto path = WriteBmp("keyed.bmp", 2, 1, [](int x, int) { return x ? kKey : kGreen; });
    Load(path, 3);
    int tw = 0;
    auto texels = TextureTexels(Slot(3).texture, 0, &tw);
    EXPECT_EQ(TexelAlpha(texels, tw, 1, 0), 0);
    EXPECT_EQ(TexelAlpha(texels, tw, 0, 0), 255);

    SetTransparentColour(-1);
    Load(path, 3);
    texels = TextureTexels(Slot(3).texture, 0, &tw);
    EXPECT_EQ(TexelAlpha(texels, tw, 1, 0), 255);
    EXPECT_EQ(TexelColour(texels, tw, 1, 0), kKey);

    SetTransparentColour(kGreen);
    EXPECT_EQ(Device().SpriteTransparentColour(), kGreen);
    EXPECT_EQ(Device().FontTransparentColour(), kGreen);
    Load(path, 3);
    texels = TextureTexels(Slot(3).texture, 0, &tw);
    EXPECT_EQ(TexelAlpha(texels, tw, 0, 0), 0);
    EXPECT_EQ(TexelAlpha(texels, tw, 1, 0), 255);
}

TEST_F(Textures, PngWithAlphaIgnoresTheTransparentColour) {
    // Blue, green, red, alpha bytes, top row first: the key colour, half transparent.
    const uint8_t pixels[] = {128, 0, 255, 128, 0, 255, 0, 255};
    const std::string path = TestFile("alpha.png");
    ASSERT_TRUE(EncodePng(path.c_str(), pixels, 2, 1));
    Load(path, 4);
    int tw = 0;
    const auto texels = TextureTexels(Slot(4).texture, 0, &tw);
    EXPECT_EQ(TexelColour(texels, tw, 0, 0), kKey);
    EXPECT_EQ(TexelAlpha(texels, tw, 0, 0), 128);
    EXPECT_EQ(TexelColour(texels, tw, 1, 0), kGreen);
}

TEST_F(Textures, MissingFileLeavesTheSlotEmpty) {
    LoadQuadrants(5);
    EXPECT_EQ(LoadSprite(RtString("no such picture.bmp"), 5), 0.0);
    double w = -1, h = -1;
    GetSpriteSize(5, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(Slot(5).texture, 0u);
    EXPECT_EQ(Slot(5).textureWidth, -1);
}

TEST_F(Textures, LoadAnimationWithAMissingFileSetsNoFrameSize) {
    EXPECT_EQ(LoadAnimation(RtString("missing.bmp"), 9, 16, 16), 0.0);
    EXPECT_EQ(Slot(9).frameWidth, 0);
    const auto path = WriteBmp("strip.bmp", 64, 16, [](int x, int) { return Rgb(x, 1, 1); });
    EXPECT_EQ(LoadAnimation(RtString(path.c_str()), 9, 16, 16), 1.0);
    EXPECT_EQ(Slot(9).frameWidth, 16);
    EXPECT_EQ(Slot(9).frameHeight, 16);
}

// A 3 x 3 opaque picture in a 4 x 4 texture: the transparent texels of
// column 3 and row 3 take the mean of their opaque neighbours in columns and
// rows 1..2 only.
TEST_F(Textures, ColourBleedsIntoTransparentTexelsFromInsideTheBorder) {
    // Texture row r holds picture row 2 - r.
    const uint32_t colours[3][3] = {{Rgb(90, 0, 0), Rgb(0, 90, 0), Rgb(0, 0, 90)},
                                    {Rgb(30, 60, 9), Rgb(100, 20, 40), Rgb(11, 200, 70)},
                                    {Rgb(5, 5, 5), Rgb(7, 9, 11), Rgb(250, 250, 250)}};
    Load(WriteBmp("bleed.bmp", 3, 3, [&](int x, int y) { return colours[y][x]; }), 11);
    int tw = 0;
    const auto texels = TextureTexels(Slot(11).texture, 0, &tw);
    ASSERT_EQ(tw, 4);
    // Texel (3, 1): neighbours (2, 1) = picture (2, 1) and (2, 2) = picture (2, 0).
    EXPECT_EQ(TexelColour(texels, tw, 3, 1), Rgb((11 + 0) / 2, (200 + 0) / 2, (70 + 90) / 2));
    EXPECT_EQ(TexelAlpha(texels, tw, 3, 1), 0);
    // Texel (3, 3): only (2, 2).
    EXPECT_EQ(TexelColour(texels, tw, 3, 3), Rgb(0, 0, 90));
    // Texel (0, 3): only (1, 2) = picture (1, 0).
    EXPECT_EQ(TexelColour(texels, tw, 0, 3), Rgb(0, 90, 0));
    // Texel (3, 0): only (2, 1) = picture (2, 1).
    EXPECT_EQ(TexelColour(texels, tw, 3, 0), Rgb(11, 200, 70));
    // Texel (1, 3): (1, 2), (2, 2) = picture (1, 0), (2, 0); (0, 2) lies on the border.
    EXPECT_EQ(TexelColour(texels, tw, 1, 3), Rgb(0, 45, 45));
}

TEST_F(Textures, FontSlotsAreNotBledAndHaveNoScaledTexture) {
    const auto path = WriteBmp("font.bmp", 3, 3, [](int, int) { return kWhite; });
    LoadFont(RtString(path.c_str()), 2);
    const SpriteSlot& font = Slot(kFontSlotBase + 2);
    EXPECT_EQ(font.width, 3);
    EXPECT_EQ(font.scaledTexture, 0u);
    int tw = 0;
    const auto texels = TextureTexels(font.texture, 0, &tw);
    EXPECT_EQ(TexelColour(texels, tw, 3, 1), kBlack);
}

// Texture row y, column x of a 4 x 4 picture has red 10 x + 40 y. The scaled
// texture's level 1 weighs each source texel with its right neighbour and the
// texels two rows up: (4 s0 + 2 s1 + 2 s2 + s3) / 9, two of them (2 s0 + s) / 3
// on the last row or column, s0 alone in the corner.
TEST_F(Textures, MipChainWeighsTheTexelsTwoRowsUp) {
    Load(WriteBmp("mip.bmp", 4, 4, [](int x, int y) { return Rgb(10 * x + 40 * (3 - y), 0, 0); }),
         12);
    int w = 0, h = 0;
    auto level0 = TextureTexels(Slot(12).scaledTexture, 0, &w, &h);
    ASSERT_EQ(w, 4);
    EXPECT_EQ(TexelColour(level0, w, 3, 2), Rgb(110, 0, 0));
    auto level1 = TextureTexels(Slot(12).scaledTexture, 1, &w, &h);
    ASSERT_EQ(w, 2);
    ASSERT_EQ(h, 2);
    EXPECT_EQ(TexelColour(level1, 2, 0, 0), Rgb(31, 0, 0));  // (0 + 20 + 180 + 80) / 9
    EXPECT_EQ(TexelColour(level1, 2, 1, 0), Rgb(46, 0, 0));  // (40 + 100) / 3
    EXPECT_EQ(TexelColour(level1, 2, 0, 1), Rgb(83, 0, 0));  // (160 + 90) / 3
    EXPECT_EQ(TexelColour(level1, 2, 1, 1), Rgb(100, 0, 0));
    EXPECT_EQ(TexelAlpha(level1, 2, 0, 0), 255);
    auto level2 = TextureTexels(Slot(12).scaledTexture, 2, &w, &h);
    ASSERT_EQ(w, 1);
    EXPECT_EQ(TexelColour(level2, 1, 0, 0), Rgb(31, 0, 0));
}

// An 8 x 2 picture: the scaled level 0 is 2 x 2, each texel the running
// average of horizontal pairs ((a + b) >> 1, twice).
TEST_F(Textures, ScaledTextureIsMadeSquareByAveragingPairs) {
    const int reds[8] = {0, 10, 20, 31, 100, 0, 7, 200};
    Load(WriteBmp("wide.bmp", 8, 2, [&](int x, int) { return Rgb(reds[x], 0, 0); }), 13);
    int w = 0, h = 0;
    const auto level0 = TextureTexels(Slot(13).scaledTexture, 0, &w, &h);
    ASSERT_EQ(w, 2);
    ASSERT_EQ(h, 2);
    EXPECT_EQ(TexelColour(level0, 2, 0, 0), Rgb(((0 + 10) / 2 + (20 + 31) / 2) / 2, 0, 0));
    EXPECT_EQ(TexelColour(level0, 2, 1, 1), Rgb(((100 + 0) / 2 + (7 + 200) / 2) / 2, 0, 0));
}

TEST_F(Textures, NormalMapOfAFlatPictureFacesTheViewer) {
    const auto path = WriteBmp("flat.bmp", 4, 4, [](int, int) { return Rgb(0, 0, 200); });
    ASSERT_EQ(LoadNormalMap(RtString(path.c_str()), 14), 1.0);
    int tw = 0;
    const auto texels = TextureTexels(Slot(14).texture, 0, &tw);
    // No slope: the normal is (0, 0, 1), stored as 127, 127, 255. Every
    // texel of the 4 x 4 texture is picture, so wrapping sees no edge.
    EXPECT_EQ(TexelColour(texels, tw, 1, 1), Rgb(127, 127, 255));
    EXPECT_EQ(TexelAlpha(texels, tw, 1, 1), 255);
}

TEST_F(Textures, NormalMapSlopesFollowTheBlueChannel) {
    // Blue rises to the right: the normal tilts to the left (red below 127).
    const auto path = WriteBmp("ramp.bmp", 8, 8, [](int x, int) { return Rgb(0, 0, x * 30); });
    ASSERT_EQ(LoadNormalMap(RtString(path.c_str()), 15), 1.0);
    int tw = 0;
    const auto texels = TextureTexels(Slot(15).texture, 0, &tw);
    // dx = -(4 * 30 / 255 * 2) ... at column 3: v(c+1) - v(c-1) = 60 / 255 per row, four rows'
    // worth.
    const float dx = -(4 * 60.0f / 255), length = std::sqrt(dx * dx + 1);
    EXPECT_NEAR(static_cast<double>(TexelColour(texels, tw, 3, 3) & 255),
                static_cast<int>((dx / length + 1) / 2 * 255), 1.0);
    EXPECT_EQ(TexelColour(texels, tw, 3, 3) >> 8 & 255, 127u);
}

TEST_F(Textures, GrabbingTwentyPixelsSquareMakesAndReusesAThirtyTwoTexture) {
    DrawRect(10, 10, 20, 20, kGreen);
    EXPECT_EQ(GrabSprite(20, 10, 10, 20, 20), 1.0);
    EXPECT_EQ(Slot(20).textureWidth, 32);
    EXPECT_EQ(Slot(20).textureHeight, 32);
    EXPECT_EQ(Slot(20).width, 20);
    const uint32_t texture = Slot(20).texture;
    int tw = 0;
    const auto texels = TextureTexels(texture, 0, &tw);
    EXPECT_EQ(TexelColour(texels, tw, 0, 19), kGreen);
    EXPECT_EQ(TexelColour(texels, tw, 19, 0), kGreen);
    EXPECT_EQ(TexelAlpha(texels, tw, 19, 0), 255);
    GrabSprite(20, 50, 50, 20, 20);
    EXPECT_EQ(Slot(20).texture, texture);
    GrabSprite(20, 50, 50, 40, 20);
    EXPECT_EQ(Slot(20).textureWidth, 64);
}

TEST_F(Textures, GrabWithoutFrameBufferAlphaMakesTheTransparentColourTransparent) {
    OpenGLRainbowsTesting::AssumeFrameBufferAlphaBits(Device(), 0);
    DrawRect(0, 0, 8, 8, kGreen);
    SetAlphaMode(0);
    glDisable(GL_BLEND);
    // Blending off: the transparent colour is drawn as it is.
    DrawRect(0, 0, 4, 8, kKey);
    EXPECT_EQ(ScreenPixel(1, 1), kKey);
    EXPECT_EQ(Device().TransparentColourOnScreen(), kKey);
    GrabSprite(21, 0, 0, 8, 8);
    int tw = 0;
    const auto texels = TextureTexels(Slot(21).texture, 0, &tw);
    EXPECT_EQ(TexelAlpha(texels, tw, 1, 7), 0);
    EXPECT_EQ(TexelColour(texels, tw, 1, 7), kKey);
    EXPECT_EQ(TexelAlpha(texels, tw, 6, 7), 255);
    EXPECT_EQ(TexelColour(texels, tw, 6, 7), kGreen);
    // Finding the colour leaves the pixel it used as it was.
    EXPECT_EQ(ScreenPixel(4, 235), kBlack);
}

TEST_F(Textures, FreeingASlotEmptiesIt) {
    LoadQuadrants(30);
    Device().FreeSprite(30);
    EXPECT_EQ(Slot(30).texture, 0u);
    EXPECT_EQ(Slot(30).scaledTexture, 0u);
    EXPECT_EQ(Slot(30).textureWidth, -1);
    EXPECT_EQ(Slot(30).width, 0);
}
