// The alpha modes, points, lines, rectangles, reading pixels and clearing.
#include <limits>

#include "Gfx2dFixture.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/runtime.h"

using Primitives = Gfx2d;

TEST_F(Primitives, AlphaModesSetBlendingAndOpacity) {
    SetAlphaMode(3);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(Device().CurrentOpacity(), 1.0f);
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(destination, GL_ONE);
    SetAlphaMode(-0.25);
    EXPECT_EQ(Device().CurrentOpacity(), 0.25f);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    SetAlphaMode(0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(Device().CurrentOpacity(), 1.0f);
    EXPECT_EQ(OpenGLRainbowsTesting::CurrentColour(Device())[3], 1.0f);
}

TEST_F(Primitives, AdditiveModeAddsAndTransparentModeMixes) {
    DrawRect(0, 0, 10, 10, Rgb(100, 50, 0));
    SetAlphaMode(3);
    DrawRect(0, 0, 10, 10, Rgb(100, 50, 20));
    EXPECT_EQ(ScreenPixel(5, 5), Rgb(200, 100, 20));
    SetAlphaMode(0.5);
    DrawRect(0, 0, 10, 10, Rgb(100, 100, 100));
    const uint32_t added = ScreenPixel(5, 5);
    EXPECT_NEAR(static_cast<int>(added & 255), 250, 1);
    SetAlphaMode(-0.5);
    DrawRect(20, 0, 10, 10, Rgb(200, 0, 0));
    EXPECT_NEAR(static_cast<int>(ScreenPixel(25, 5) & 255), 100, 1);
    // Opaque again after mode 0; and after a presented frame.
    SetAlphaMode(0);
    DrawRect(20, 0, 10, 10, Rgb(200, 0, 0));
    EXPECT_EQ(ScreenPixel(25, 5), Rgb(200, 0, 0));
    SetAlphaMode(-0.5);
    PresentFrame();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(Device().CurrentOpacity(), 1.0f);
}

TEST_F(Primitives, RectangleWithNegativeWidthIsTurnedRound) {
    DrawRect(10, 20, -5, 3, kGreen);
    EXPECT_EQ(LitBox(), (std::vector<int>{6, 20, 10, 22}));
    ClearBackBuffer();
    DrawRect(10, 20, 4, -3, kGreen);
    EXPECT_EQ(LitBox(), (std::vector<int>{10, 18, 13, 20}));
    ClearBackBuffer();
    DrawRect(0, 0, 1, 1, kGreen);
    EXPECT_EQ(LitBox(), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(Primitives, LineIncludesBothEndsAndAPointLineIsOnePixel) {
    DrawLine(0, 0, 0, 0, kWhite);
    EXPECT_EQ(LitPixels(0, 0, 5, 5), 1);
    EXPECT_EQ(ScreenPixel(0, 0), kWhite);
    ClearBackBuffer();
    DrawLine(10, 10, 20, 10, kRed);
    EXPECT_EQ(LitBox(), (std::vector<int>{10, 10, 20, 10}));
    EXPECT_EQ(LitPixels(0, 0, 40, 20), 11);
    ClearBackBuffer();
    DrawLine(5, 5, 5, 15, kRed);
    EXPECT_EQ(LitBox(), (std::vector<int>{5, 5, 5, 15}));
}

TEST_F(Primitives, GetPixelReturnsWhatDrawPixelDrew) {
    DrawPixel(17, 33, Rgb(12, 34, 56));
    EXPECT_EQ(GetPixel(17, 33), Rgb(12, 34, 56));
    EXPECT_EQ(GetPixel(18, 33), 0.0);
    EXPECT_EQ(LitPixels(10, 25, 15, 15), 1);
    DrawPixel(0, 0, kWhite);
    DrawPixel(319, 239, kWhite);
    EXPECT_EQ(GetPixel(0, 0), kWhite);
    EXPECT_EQ(GetPixel(319, 239), kWhite);
}

// Coordinates that fit no integer become the smallest one; like any pixel
// off the frame buffer they read as black.
TEST_F(Primitives, GetPixelFarOffTheScreenReadsBlack) {
    DrawRect(0, 0, 320, 240, kWhite);
    for (double c : {-1.0, 1e12, -1e12, std::numeric_limits<double>::quiet_NaN(), 2147483648.0,
                     2147483647.0}) {
        EXPECT_EQ(GetPixel(5, c), 0.0) << c;
        EXPECT_EQ(GetPixel(c, 5), 0.0) << c;
    }
    EXPECT_EQ(GetPixel(320, 5), 0.0);
    EXPECT_EQ(GetPixel(5, 240), 0.0);
    EXPECT_EQ(GetPixel(5, 5), kWhite);
    EXPECT_EQ(GetPixel(319, 239), kWhite);
}

TEST_F(Primitives, TransparentColourIsInvisibleOnlyWhileBlending) {
    SetAlphaMode(-1);
    DrawLine(0, 5, 30, 5, kKey);
    EXPECT_EQ(LitPixels(0, 0, 40, 10), 0);
    SetAlphaMode(0);
    DrawLine(0, 5, 30, 5, kKey);
    EXPECT_EQ(ScreenPixel(10, 5), kKey);
}

TEST_F(Primitives, PrimitivesLeaveTheSpriteStateBehind) {
    SetAlphaMode(-0.5);
    DrawRect(0, 0, 4, 4, kRed);
    EXPECT_TRUE(OpenGLRainbowsTesting::AlphaTestOn(Device()));
    const float* colour = OpenGLRainbowsTesting::CurrentColour(Device());
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[3], 0.5f);
    EXPECT_FALSE(OpenGLRainbowsTesting::PixelCentreShifted(Device()));
}

TEST_F(Primitives, PrimitivesFollowTheView) {
    SetViewport(10, 20, 100, 50);
    DrawPixel(0, 0, kWhite);
    EXPECT_EQ(ScreenPixel(10, 20), kWhite);
    // GetPixel reads the screen, whatever the view.
    EXPECT_EQ(GetPixel(10, 20), kWhite);
}

TEST_F(Primitives, ClearScreenRemovesBackgroundZero) {
    DrawRect(0, 0, 320, 240, kBlue);
    GrabBackground();
    EXPECT_GT(Device().Background(0)->columnCount, 0);
    ClearScreen();
    EXPECT_EQ(Device().Background(0)->columnCount, 0);
    EXPECT_EQ(ScreenPixel(100, 100), kBlack);
    PresentFrame();
    EXPECT_EQ(ScreenPixel(100, 100), kBlack);
}
