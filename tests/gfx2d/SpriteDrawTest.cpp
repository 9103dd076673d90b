// Sprite drawing: rounding, zoom, mirroring, rotation, animation frames,
// polygons and smoothing, read back from the frame buffer.
#include "Gfx2dFixture.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/runtime.h"

using SpriteDrawing = Gfx2d;

TEST_F(SpriteDrawing, PositionsAreRoundedUp) {
    Load(WriteBmp("dot.bmp", 2, 2, [](int, int) { return kWhite; }), 1);
    DrawSprite(1, 10.2, 5.0);
    EXPECT_EQ(LitBox(), (std::vector<int>{11, 5, 12, 6}));
    ClearBackBuffer();
    DrawSprite(1, -0.5, 7.9);
    EXPECT_EQ(LitBox(), (std::vector<int>{0, 8, 1, 9}));
}

TEST_F(SpriteDrawing, DrawSpriteShowsThePictureUpright) {
    LoadQuadrants(2);
    DrawSprite(2, 40, 30);
    EXPECT_EQ(ScreenPixel(40, 30), kRed);
    EXPECT_EQ(ScreenPixel(55, 30), kGreen);
    EXPECT_EQ(ScreenPixel(40, 45), kBlue);
    EXPECT_EQ(ScreenPixel(55, 45), kWhite);
    EXPECT_EQ(LitBox(), (std::vector<int>{40, 30, 55, 45}));
}

TEST_F(SpriteDrawing, ZoomScalesAboutTheCentre) {
    LoadQuadrants(3);
    ZoomSprite(3, 100, 100, 2, 2);
    EXPECT_EQ(LitBox(), (std::vector<int>{92, 92, 123, 123}));
    EXPECT_EQ(ScreenPixel(94, 94), kRed);
    EXPECT_EQ(ScreenPixel(121, 121), kWhite);
}

TEST_F(SpriteDrawing, StretchWithNegativeWidthMirrorsAndStaysVisible) {
    LoadQuadrants(4);
    StretchSprite(4, 100, 50, -32, 32);
    EXPECT_EQ(LitBox(), (std::vector<int>{68, 50, 99, 81}));
    EXPECT_EQ(ScreenPixel(96, 53), kRed);  // the picture's left edge is on the right
    EXPECT_EQ(ScreenPixel(71, 53), kGreen);
    EXPECT_EQ(ScreenPixel(96, 78), kBlue);
    GLint front = 0;
    glGetIntegerv(GL_FRONT_FACE, &front);
    EXPECT_EQ(front, GL_CCW);
    EXPECT_FALSE(OpenGLRainbowsTesting::FrontFaceClockwise(Device()));
}

TEST_F(SpriteDrawing, StretchWithBothSizesNegativeIsAHalfTurn) {
    LoadQuadrants(4);
    StretchSprite(4, 100, 100, -32, -32);
    EXPECT_EQ(LitBox(), (std::vector<int>{68, 68, 99, 99}));
    EXPECT_EQ(ScreenPixel(96, 96), kRed);
    EXPECT_EQ(ScreenPixel(71, 71), kWhite);
    EXPECT_EQ(ScreenPixel(71, 96), kGreen);
}

TEST_F(SpriteDrawing, StretchOfAnEmptySlotIsAnUntexturedRectangle) {
    StretchSprite(40000, 10, 10, 5, 4);
    EXPECT_EQ(LitBox(), (std::vector<int>{10, 10, 14, 13}));
    EXPECT_EQ(ScreenPixel(12, 12), kWhite);
    ClearBackBuffer();
    DrawSprite(40000, 10, 10);
    ZoomSprite(40000, 10, 10, 2, 2);
    RotoZoomSprite(40000, 10, 10, 30, 2);
    EXPECT_EQ(LitBox()[2], -1);
}

TEST_F(SpriteDrawing, PositiveAngleTurnsCounterClockwise) {
    LoadQuadrants(5);
    RotateSprite(5, 50, 50, 90);
    // Turned a quarter counter-clockwise about (58, 58): the top-left red
    // quadrant is now bottom left, the top-right green one top left.
    EXPECT_EQ(ScreenPixel(52, 52), kGreen);
    EXPECT_EQ(ScreenPixel(52, 63), kRed);
    EXPECT_EQ(ScreenPixel(63, 63), kBlue);
    EXPECT_EQ(ScreenPixel(63, 52), kWhite);
    EXPECT_EQ(LitBox(), (std::vector<int>{50, 50, 65, 65}));
}

TEST_F(SpriteDrawing, RotoZoomScalesAboutTheCentre) {
    LoadQuadrants(5);
    RotoZoomSprite(5, 50, 50, 0, 2);
    EXPECT_EQ(LitBox(), (std::vector<int>{42, 42, 73, 73}));
    EXPECT_EQ(ScreenPixel(44, 44), kRed);
}

// A 64 x 32 picture of 16 x 16 frames, each frame a colour of its own:
// frame k has red 10 k + 10.
uint32_t FrameColour(int frame) {
    return Rgb(10 * frame + 10, 50, 60);
}
std::string WriteFrames() {
    return WriteBmp("frames.bmp", 64, 32,
                    [](int x, int y) { return FrameColour(y / 16 * 4 + x / 16); });
}

TEST_F(SpriteDrawing, AnimationFramesRunLeftToRightThenDown) {
    ASSERT_EQ(LoadAnimation(RtString(WriteFrames().c_str()), 6, 16, 16), 1.0);
    DrawAnimation(6, 5, 20.5, 30);
    EXPECT_EQ(ScreenPixel(21, 30), FrameColour(5));
    EXPECT_EQ(ScreenPixel(36, 45), FrameColour(5));
    EXPECT_EQ(LitBox(), (std::vector<int>{21, 30, 36, 45}));
    ClearBackBuffer();
    DrawAnimation(6, 3, 0, 0);
    EXPECT_EQ(ScreenPixel(8, 8), FrameColour(3));
}

TEST_F(SpriteDrawing, SlotWithoutFramesDrawsNoAnimation) {
    LoadQuadrants(7);
    DrawAnimation(7, 0, 10, 10);
    StretchAnimation(7, 0, 10, 10, 20, 20);
    RotoZoomAnimation(7, 0, 10, 10, 0, 1);
    EXPECT_EQ(LitBox()[2], -1);
}

TEST_F(SpriteDrawing, StretchAnimationCoversItsSizeAndMirrors) {
    ASSERT_EQ(LoadAnimation(RtString(WriteFrames().c_str()), 6, 16, 16), 1.0);
    StretchAnimation(6, 6, 10, 10, 32, 8);
    EXPECT_EQ(LitBox(), (std::vector<int>{10, 10, 41, 17}));
    EXPECT_EQ(ScreenPixel(25, 13), FrameColour(6));
    ClearBackBuffer();
    StretchAnimation(6, 6, 50, 10, -32, 8);
    EXPECT_EQ(LitBox(), (std::vector<int>{18, 10, 49, 17}));
}

TEST_F(SpriteDrawing, RotoZoomAnimationShowsTheFrame) {
    ASSERT_EQ(LoadAnimation(RtString(WriteFrames().c_str()), 6, 16, 16), 1.0);
    RotoZoomAnimation(6, 7, 100, 100, 0, 1);
    EXPECT_EQ(LitBox(), (std::vector<int>{100, 100, 115, 115}));
    EXPECT_EQ(ScreenPixel(107, 107), FrameColour(7));
    ClearBackBuffer();
    RotoZoomAnimation(6, 7, 100, 100, 90, 2);
    EXPECT_EQ(LitBox(), (std::vector<int>{92, 92, 123, 123}));
}

// A 2 x 2 picture stretched to 64 x 64: smoothed, the middle blends the
// colours; without smoothing every pixel is one of them.
TEST_F(SpriteDrawing, SmoothingOffGivesHardPixelEdgesUntilTheViewResets) {
    Load(WriteBmp("two.bmp", 2, 2, [](int x, int) { return x ? kWhite : kBlack + 1; }), 8);
    StretchSprite(8, 0, 0, 64, 64);
    EXPECT_NE(ScreenPixel(31, 10), Rgb(1, 0, 0));
    EXPECT_NE(ScreenPixel(31, 10), kWhite);
    SetSmoothing(0);
    StretchSprite(8, 0, 0, 64, 64);
    for (int x = 0; x < 64; ++x) {
        const uint32_t pixel = ScreenPixel(x, 10);
        EXPECT_TRUE(pixel == Rgb(1, 0, 0) || pixel == kWhite) << x;
    }
    EXPECT_EQ(Device().SmoothFlag(), 0);
    PresentFrame();
    EXPECT_EQ(Device().SmoothFlag(), 1);
}

// Neighbouring pixels all differ, so any blending between texels shows.
uint32_t Speckle(int x, int y) {
    return Rgb((x * 53 + y * 19) & 255, (x * 7 + y * 101) & 255, (x * 29 + y * 67) & 127);
}

// With smoothing on, drawing a picture at its own size still shows every
// picture pixel unchanged, however the quad is flipped; scaled drawing of
// the same slot afterwards is smoothed again.
TEST_F(SpriteDrawing, OneToOneDrawingShowsEveryPicturePixelUnblended) {
    Load(WriteBmp("speckle.bmp", 24, 20, Speckle), 9);
    ASSERT_EQ(Device().SmoothFlag(), 1);
    auto expectPicture = [](int left, int top, bool mirrorX, bool mirrorY) {
        int wrong = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x)
                wrong += ScreenPixel(left + (mirrorX ? 23 - x : x), top + (mirrorY ? 19 - y : y)) !=
                         Speckle(x, y);
        return wrong;
    };
    DrawSprite(9, 10.5, 7);
    EXPECT_EQ(expectPicture(11, 7, false, false), 0);
    StretchSprite(9, 60, 7, 24, 20);
    EXPECT_EQ(expectPicture(60, 7, false, false), 0);
    StretchSprite(9, 134, 7, -24, 20);
    EXPECT_EQ(expectPicture(110, 7, true, false), 0);
    StretchSprite(9, 184, 47, -24, -20);
    EXPECT_EQ(expectPicture(160, 27, true, true), 0);
    ZoomSprite(9, 200, 100, 1, 1);
    EXPECT_EQ(expectPicture(200, 100, false, false), 0);

    ClearBackBuffer();
    StretchSprite(9, 0, 0, 48, 40);
    int blended = 0;
    for (int x = 0; x < 48; ++x)
        for (int y = 0; y < 40; ++y) blended += ScreenPixel(x, y) != Speckle(x / 2, y / 2);
    EXPECT_GT(blended, 48 * 40 / 2);
}

TEST_F(SpriteDrawing, OneToOneAnimationFramesShowEveryPixelUnblended) {
    ASSERT_EQ(LoadAnimation(RtString(WriteBmp("speckles.bmp", 24, 20, Speckle).c_str()), 9, 12, 10),
              1.0);
    DrawAnimation(9, 3, 30, 40);  // the second row's right frame
    int wrong = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            wrong += ScreenPixel(30 + x, 40 + y) != Speckle(12 + x, 10 + y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(SpriteDrawing, UntexturedPolygonFillsItsFanInTheVertexColours) {
    StartPolygon(-1);
    PolygonVertex(10, 10, 0, 0, kRed);
    PolygonVertex(10, 30, 0, 0, kRed);
    PolygonVertex(30, 30, 0, 0, kRed);
    PolygonVertex(30, 10, 0, 0, kRed);
    EndPolygon();
    EXPECT_EQ(LitBox(), (std::vector<int>{10, 10, 29, 29}));
    EXPECT_EQ(ScreenPixel(20, 20), kRed);
    // The vertex colours end with the polygon: texturing is on again and the
    // colour is white at the opacity.
    EXPECT_TRUE(OpenGLRainbowsTesting::TexturingOn(Device()));
    const float* colour = OpenGLRainbowsTesting::CurrentColour(Device());
    EXPECT_EQ(std::vector<float>(colour, colour + 4), (std::vector<float>{1, 1, 1, 1}));
}

TEST_F(SpriteDrawing, TexturedPolygonMapsPicturePixels) {
    LoadQuadrants(9);
    StartPolygon(9);
    PolygonVertex(50, 50, 0, 0, kWhite);
    PolygonVertex(50, 66, 0, 16, kWhite);
    PolygonVertex(66, 66, 16, 16, kWhite);
    PolygonVertex(66, 50, 16, 0, kWhite);
    EndPolygon();
    EXPECT_EQ(ScreenPixel(52, 52), kRed);
    EXPECT_EQ(ScreenPixel(64, 52), kGreen);
    EXPECT_EQ(ScreenPixel(52, 64), kBlue);
}

TEST_F(SpriteDrawing, PolygonVerticesInTheTransparentColourAreInvisible) {
    StartPolygon(-1);
    for (auto [x, y] : {std::pair{10, 10}, {10, 30}, {30, 30}, {30, 10}})
        PolygonVertex(x, y, 0, 0, kKey);
    EndPolygon();
    EXPECT_EQ(LitBox()[2], -1);
}

TEST_F(SpriteDrawing, OpacityAndAlphaTestApplyToSprites) {
    LoadQuadrants(10);
    SetAlphaMode(-0.5);
    DrawSprite(10, 0, 0);
    const uint32_t half = ScreenPixel(2, 2);
    EXPECT_NEAR(static_cast<int>(half & 255), 128, 1);
    SetAlphaMode(0);
    ClearBackBuffer();
    // Transparent texels fail the alpha test even with blending off.
    Load(WriteBmp("holes.bmp", 4, 1, [](int x, int) { return x % 2 ? kKey : kGreen; }), 11);
    DrawRect(0, 0, 10, 10, kBlue);
    DrawSprite(11, 0, 0);
    EXPECT_EQ(ScreenPixel(0, 0), kGreen);
    EXPECT_EQ(ScreenPixel(1, 0), kBlue);
}
