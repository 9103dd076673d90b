// Background images: grabbing the screen into tiles, loading pictures, the
// drawing at the start of every frame and the cross-fade.
#include <cmath>

#include <fstream>
#include <sstream>

#include "Gfx2dFixture.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"

using Backgrounds = Gfx2d;

TEST_F(Backgrounds, GrabbedScreenFillsOneFiveHundredTwelveTile) {
    DrawRect(0, 0, 160, 240, kRed);
    DrawRect(160, 0, 160, 240, kGreen);
    DrawPixel(319, 239, kWhite);
    GrabBackground();
    const BackgroundImage& image = *Device().Background(0);
    EXPECT_EQ(image.columnCount, 1);
    EXPECT_EQ(image.rowCount, 1);
    EXPECT_EQ(image.tileTextureWidths[0], 512);
    EXPECT_EQ(image.tileTextureHeights[0], 512);
    EXPECT_EQ(image.tileUsedWidths[0], 320);
    EXPECT_EQ(image.tileUsedHeights[0], 240);
    // Every frame starts with background 0.
    PresentFrame();
    EXPECT_EQ(ScreenPixel(10, 10), kRed);
    EXPECT_EQ(ScreenPixel(300, 200), kGreen);
    EXPECT_EQ(ScreenPixel(319, 239), kWhite);
    EXPECT_EQ(ScreenPixel(0, 0), kRed);
    // A second grab reuses the tile.
    const uint32_t texture = image.tileTextures[0];
    GrabBackground();
    EXPECT_EQ(image.tileTextures[0], texture);
}

TEST_F(Backgrounds, LoadedPictureIsCutIntoTilesOfFiveHundredTwelve) {
    const auto path =
        WriteBmp("wide.bmp", 600, 100, [](int x, int) { return x < 512 ? kBlue : kWhite; });
    LoadBackground(RtString(path.c_str()));
    const BackgroundImage& image = *Device().Background(0);
    EXPECT_EQ(image.columnCount, 2);
    EXPECT_EQ(image.rowCount, 1);
    EXPECT_EQ(image.tileUsedWidths[8], 512);
    EXPECT_EQ(image.tileTextureWidths[8], 512);
    EXPECT_NE(image.tileTextures[8], 0u);  // tile (1, 0)
    EXPECT_EQ(ScreenPixel(5, 5), kBlue);
    EXPECT_EQ(ScreenPixel(5, 99), kBlue);
    // Tiles are drawn whole with the alpha test off: the row below the
    // picture shows the colour bled into it, the next one is black.
    EXPECT_EQ(ScreenPixel(5, 100), kBlue);
    EXPECT_EQ(ScreenPixel(5, 101), kBlack);
    PresentFrame();
    EXPECT_EQ(ScreenPixel(300, 50), kBlue);
}

TEST_F(Backgrounds, PictureNeedingMoreThanEightTilesKeepsTheFirstEightByEight) {
    if (Device().Width() == 0) GTEST_SKIP();
    const auto path = WriteBmp("long.bmp", 4700, 2, [](int, int) { return kGreen; });
    ASSERT_TRUE(Device().LoadBackgroundFile(3, path.c_str()));
    EXPECT_EQ(Device().Background(3)->columnCount, 8);
    EXPECT_EQ(Device().Background(3)->rowCount, 1);
}

TEST_F(Backgrounds, MissingPictureLeavesNoBackgroundAndAClearedScreen) {
    DrawRect(0, 0, 320, 240, kBlue);
    GrabBackground();
    LoadBackground(RtString("nothing here.png"));
    EXPECT_EQ(Device().Background(0)->columnCount, 0);
    EXPECT_EQ(ScreenPixel(100, 100), kBlack);
}

TEST_F(Backgrounds, BackgroundIsDrawnUnderTheAlphaMode) {
    DrawRect(0, 0, 320, 240, Rgb(100, 0, 0));
    Device().GrabToBackground(4);
    ClearBackBuffer();
    DrawRect(0, 0, 320, 240, Rgb(0, 100, 0));
    SetAlphaMode(1);
    Device().DrawBackground(4);
    EXPECT_EQ(ScreenPixel(50, 50), Rgb(100, 100, 0));
    EXPECT_TRUE(OpenGLRainbowsTesting::AlphaTestOn(Device()));
    FreeBackground(4);
    EXPECT_EQ(Device().Background(4)->columnCount, 0);
    EXPECT_EQ(Device().Background(4)->tileTextures[0], 0u);
}

// The old screen is all red, the new picture all green: in every frame of
// the fade red + green is 255. The first frame weighs the old screen 0.9,
// the next ones by the time left, falling.
namespace {
std::vector<uint32_t> gFrames;
void RecordFrame() {
    FlushDrawing();
    uint8_t rgba[4] = {};
    glReadPixels(100, 100, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    const uint32_t colour = rgba[0] | rgba[1] << 8 | rgba[2] << 16;
    if (colour != 0 && (gFrames.empty() || gFrames.back() != colour)) gFrames.push_back(colour);
}
std::string FramesText() {
    std::string text;
    for (const uint32_t c : gFrames)
        text += std::to_string(c & 255) + "/" + std::to_string(c >> 8 & 255) + " ";
    return text;
}
}  // namespace

TEST_F(Backgrounds, CrossFadeWeightsSumToOne) {
    const auto path = WriteBmp("green.bmp", 320, 240, [](int, int) { return kGreen; });
    DrawRect(0, 0, 320, 240, kRed);
    platform::SetPumpHook(RecordFrame);
    const double start = ElapsedMs();
    BlendToBackground(RtString(path.c_str()));
    const double spent = ElapsedMs() - start;
    platform::SetPumpHook(nullptr);
    EXPECT_GT(spent, 1400);
    EXPECT_LT(spent, 6000);
    ASSERT_GT(gFrames.size(), 10u);
    EXPECT_NEAR(static_cast<int>(gFrames.front() & 255), 229, 2);
    int previousRed = 256;
    for (const uint32_t colour : std::vector<uint32_t>(gFrames.begin() + 1, gFrames.end())) {
        const int red = colour & 255, green = colour >> 8 & 255;
        EXPECT_NEAR(red + green, 255, 2) << std::hex << colour;
        EXPECT_EQ(colour >> 16, 0u);
        // From the second frame the weight follows the clock, which may stand
        // within 1/255 of the whole fade when the first frame was shown at once.
        EXPECT_LE(red, previousRed) << "red/green of every frame: " << FramesText();
        previousRed = red;
    }
    EXPECT_EQ(gFrames.back(), kGreen);
    EXPECT_EQ(ScreenPixel(100, 100), kGreen);
    EXPECT_EQ(Device().Background(0)->columnCount, 1);
    EXPECT_EQ(Device().Background(1)->columnCount, 0);
    EXPECT_EQ(Device().Background(2)->columnCount, 0);
}

TEST_F(Backgrounds, CrossFadeToAMissingPictureDoesNothing) {
    DrawRect(0, 0, 320, 240, kRed);
    const double start = ElapsedMs();
    BlendToBackground(RtString("absent.png"));
    EXPECT_LT(ElapsedMs() - start, 500);
    EXPECT_EQ(ScreenPixel(5, 5), kRed);
}

TEST_F(Backgrounds, LoadingWritesItsStepsToTheErrorLog) {
    DeleteErrorLog();
    LoadBackground(RtString("nowhere.bmp"));
    const auto path = WriteBmp("small.bmp", 4, 4, [](int, int) { return kGreen; });
    LoadBackground(RtString(path.c_str()));
    std::ifstream log(ErrorLogPath(), std::ios::binary);
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "Loadbmp\r\nShoeboxing\r\nfailed\r\nLoadbmp\r\nShoeboxing\r\nOK?\r\n");
    EXPECT_EQ(ScreenPixel(1, 1), kGreen);
}
