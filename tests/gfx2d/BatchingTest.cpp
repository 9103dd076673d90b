// Quads gathered into draw calls: how many calls a frame takes, where a
// change of state splits them, and that every read-back sees what was
// gathered before it.
#include <string>
#include <vector>

#include "Gfx2dFixture.h"
#include "runtime/files/ImageWriter.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/runtime.h"

namespace {

class Batching : public Gfx2d {
  protected:
    void SetUp() override {
        Gfx2d::SetUp();
        LoadQuadrants(1);
        LoadQuadrants(2, 8);
        // A frame of its own: the counters start again at each present.
        PresentFrame();
        ClearBackBuffer();
    }
    // The vertices of each draw call made so far in this frame.
    std::vector<int> Calls() {
        FlushDrawing();
        return OpenGLRainbowsTesting::DrawCallVertices(Device());
    }
};

// A picture of 4 x 4 pixels, each opaque red but for the given alpha in the
// top-left one, as an RGBA PNG (its alpha is kept whatever the key).
std::string WriteAlphaPng(const std::string& name, uint8_t alpha) {
    std::vector<uint8_t> rgba(4 * 4 * 4, 0);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = 255;
        rgba[i + 3] = 255;
    }
    rgba[3] = alpha;
    std::vector<uint8_t> file;
    EXPECT_TRUE(EncodePngBytes(&file, rgba.data(), 4, 4, PngSampleOrder::RedGreenBlueAlpha));
    const std::string path = TestFile(name);
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    return path;
}

}  // namespace

TEST_F(Batching, FiveThousandSpritesOfOnePictureTakeAtMostTwoDrawCalls) {
    for (int i = 0; i < 5000; ++i) DrawSprite(1, (i * 37) % 300, (i * 53) % 220);
    PresentFrame();
    EXPECT_LE(OpenGLRainbowsTesting::DrawCallsLastFrame(Device()), 2);
    EXPECT_GE(OpenGLRainbowsTesting::DrawCallsLastFrame(Device()), 1);
}

TEST_F(Batching, AllFiveThousandSpritesReachTheScreen) {
    // Each sprite at its own place on a grid; every one's top-left pixel is red.
    for (int i = 0; i < 5000; ++i) DrawSprite(2, (i % 100) * 3, (i / 100) * 4);
    for (int i = 0; i < 5000; i += 97)
        ASSERT_EQ(ScreenPixel((i % 100) * 3, (i / 100) * 4), kRed) << i;
    // Sprites later in the frame cover earlier ones, as drawn in order: the
    // last column's sprites show their right-hand half.
    EXPECT_EQ(ScreenPixel(99 * 3 + 4, 0), kGreen);
}

TEST_F(Batching, ATextLineOfFortyCharactersIsOneDrawCall) {
    PrintText(RtString("0123456789012345678901234567890123456789"), 0, 100);
    EXPECT_EQ(Calls(), (std::vector<int>{160}));
    EXPECT_GT(LitPixels(0, 100, 320, 8), 40);
}

TEST_F(Batching, ChangingTheAlphaModeSplitsTheBatchThere) {
    DrawSprite(1, 0, 0);
    DrawSprite(1, 20, 0);
    DrawSprite(1, 40, 0);
    SetAlphaMode(-0.5);
    DrawSprite(1, 60, 0);
    DrawSprite(1, 80, 0);
    EXPECT_EQ(Calls(), (std::vector<int>{12, 8}));
    // The first three opaque, the last two half over black.
    EXPECT_EQ(ScreenPixel(41, 1), kRed);
    EXPECT_NEAR(static_cast<int>(ScreenPixel(61, 1) & 255), 128, 1);
}

TEST_F(Batching, ChangingTheTextureSplitsTheBatchThere) {
    DrawSprite(1, 0, 0);
    DrawSprite(1, 20, 0);
    DrawSprite(2, 40, 0);
    DrawSprite(2, 60, 0);
    DrawSprite(2, 80, 0);
    DrawSprite(1, 100, 0);
    EXPECT_EQ(Calls(), (std::vector<int>{8, 12, 4}));
}

TEST_F(Batching, SmoothingSplitsTheBatchOnlyWhereTheFilterChanges) {
    DrawSprite(1, 0, 0);
    DrawSprite(1, 20, 0);
    ZoomSprite(1, 100, 100, 2, 2);  // scaled: linear filtering on the same texture
    ZoomSprite(1, 150, 100, 2, 2);
    DrawSprite(1, 40, 0);
    EXPECT_EQ(Calls(), (std::vector<int>{8, 8, 4}));
}

TEST_F(Batching, RectanglesOfOneColourShareACallAndAColourChangeSplits) {
    for (int i = 0; i < 10; ++i) DrawRect(i * 10, 0, 5, 5, kGreen);
    DrawRect(0, 20, 5, 5, kBlue);
    DrawRect(10, 20, 5, 5, kBlue);
    EXPECT_EQ(Calls(), (std::vector<int>{40, 8}));
    EXPECT_EQ(ScreenPixel(92, 2), kGreen);
    EXPECT_EQ(ScreenPixel(12, 22), kBlue);
}

TEST_F(Batching, SpritesBetweenRectanglesKeepTheirOrder) {
    DrawRect(0, 0, 16, 16, kWhite);
    DrawSprite(1, 0, 0);
    DrawRect(4, 4, 2, 2, kGreen);
    EXPECT_EQ(Calls().size(), 3u);
    EXPECT_EQ(ScreenPixel(1, 1), kRed);
    EXPECT_EQ(ScreenPixel(5, 5), kGreen);
    EXPECT_EQ(ScreenPixel(12, 12), kWhite);
}

TEST_F(Batching, ReadBacksSeeEverythingDrawnBeforeThem) {
    DrawSprite(1, 10, 10);
    EXPECT_EQ(GetPixel(11, 11), kRed);  // no flush in between

    DrawSprite(1, 50, 50);
    ASSERT_EQ(GrabSprite(30, 50, 50, 16, 16), 1.0);
    ClearBackBuffer();
    DrawSprite(30, 200, 100);
    EXPECT_EQ(ScreenPixel(201, 101), kRed);
    EXPECT_EQ(ScreenPixel(214, 114), kWhite);

    // A collision mask is read from the texture that drawing filled.
    ASSERT_EQ(CreateScreen(0, 31, 16, 16), 1.0);
    UseScreen(0);
    DrawRect(0, 0, 4, 4, kGreen);
    UseScreen(-1);
    EXPECT_EQ(SpriteCollision(31, 0, 0, 1, 3, 3), 1.0);
    EXPECT_EQ(SpriteCollision(31, 0, 0, 1, 4, 4), 0.0);
}

TEST_F(Batching, SavedScreenHoldsWhatWasDrawnLast) {
    DrawRect(0, 0, 320, 240, kBlue);
    DrawSprite(1, 0, 0);
    const std::string path = TestFile("batching-saved.bmp");
    ASSERT_EQ(SaveScreen(RtString(path.c_str())), 1.0);
    ClearBackBuffer();
    ASSERT_EQ(LoadSprite(RtString(path.c_str()), 40), 1.0);
    DrawSprite(40, 0, 0);
    EXPECT_EQ(ScreenPixel(1, 1), kRed);
    EXPECT_EQ(ScreenPixel(100, 100), kBlue);
}

// The alpha test passes a fragment whose alpha is above 0.05: 13/255 passes,
// 12/255 does not.
TEST_F(Batching, TheAlphaTestDropsAlphaUpToFivePercent) {
    ASSERT_EQ(LoadSprite(RtString(WriteAlphaPng("alpha12.png", 12).c_str()), 41), 1.0);
    ASSERT_EQ(LoadSprite(RtString(WriteAlphaPng("alpha13.png", 13).c_str()), 42), 1.0);
    SetAlphaMode(0);
    DrawSprite(41, 10, 10);
    DrawSprite(42, 20, 10);
    EXPECT_EQ(ScreenPixel(10, 10), kBlack);
    EXPECT_EQ(ScreenPixel(11, 10), kRed);
    EXPECT_EQ(ScreenPixel(20, 10), kRed);
}
