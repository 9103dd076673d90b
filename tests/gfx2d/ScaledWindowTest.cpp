// A window larger than the screen: the screen is drawn as before and shown
// scaled by a whole number, centred between black bars; everything that reads
// the screen still reads the 320 x 240 frame, and the mouse reports screen
// pixels. The scale is forced, as the offscreen driver opens windows at 1x.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "support/TestEngine.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

// Pixels of the bound draw buffer, top row first, as red + 256 green + 65536 blue.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture ReadBack(int width, int height) {
    FlushDrawing();
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Picture picture{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
            picture.pixels[static_cast<size_t>(y) * width + x] = p[0] | p[1] << 8 | p[2] << 16;
        }
    return picture;
}

// Detail down to single pixels: corners, text, rectangles and a line.
void DrawPattern() {
    DrawRect(0, 0, kWidth, kHeight, RgbColour(20, 40, 60));
    DrawRect(10, 20, 100, 50, kColourRed);
    DrawRect(200, 150, 37, 61, kColourGreen);
    DrawLine(0, 239, 319, 0, kColourYellow);
    PrintText("Quorbel 1234", 40, 100);
    DrawPixel(0, 0, kColourWhite);
    DrawPixel(319, 0, kColourCyan);
    DrawPixel(0, 239, kColourMagenta);
    DrawPixel(319, 239, kColourBlue);
    DrawPixel(161, 121, kColourWhite);
}

class ScaledWindow : public ::testing::Test {
  protected:
    void TearDown() override {
        platform::ForceWindowScale(0);
        platform::ForceWindowSize(0, 0);
    }

    static void Start(int scale, int captureMouse = 0) {
        platform::ForceWindowScale(scale);
        ASSERT_TRUE(StartTestEngine(60, captureMouse));
        SetFrameRate(0);
    }
    static platform::FrameLayout Layout() { return platform::GetFrameLayout(gEngine.mainWindow); }

    // Every window pixel is the screen pixel under it, or black in the bars.
    static void ExpectShownScaled(const Picture& frame, const Picture& window,
                                  const platform::FrameLayout& layout) {
        int wrong = 0;
        for (int y = 0; y < window.height && wrong < 5; ++y)
            for (int x = 0; x < window.width && wrong < 5; ++x) {
                const int fx = x - layout.x, fy = y - layout.y;
                const bool inside =
                    fx >= 0 && fy >= 0 && fx < kWidth * layout.scale && fy < kHeight * layout.scale;
                const uint32_t want = inside ? frame.At(fx / layout.scale, fy / layout.scale) : 0;
                if (window.At(x, y) != want) {
                    ADD_FAILURE() << "window pixel (" << x << ", " << y << ") is "
                                  << window.At(x, y) << ", not " << want;
                    ++wrong;
                }
            }
    }
};

TEST_F(ScaledWindow, EveryScreenPixelIsAThreeByThreeBlock) {
    Start(3);
    const platform::FrameLayout layout = Layout();
    ASSERT_EQ(layout.drawableWidth, 3 * kWidth);
    ASSERT_EQ(layout.drawableHeight, 3 * kHeight);
    EXPECT_EQ(layout.scale, 3);
    EXPECT_EQ(layout.x, 0);
    EXPECT_EQ(layout.y, 0);
    EXPECT_FALSE(layout.direct);
    PresentFrame();
    DrawPattern();
    // The screen reads as it always did: 320 x 240 in the window's lower left.
    EXPECT_EQ(GetPixel(0, 0), kColourWhite);
    EXPECT_EQ(GetPixel(319, 239), kColourBlue);
    EXPECT_EQ(GetPixel(15, 25), kColourRed);
    double width = 0, height = 0;
    GetScreenSize(width, height);
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    glReadBuffer(GL_BACK);
    const Picture frame = ReadBack(kWidth, kHeight);
    Picture lowerLeft = ReadBack(3 * kWidth, 3 * kHeight);
    OpenGLRainbowsTesting::ShowFrame(*gEngine.device);
    const Picture window = ReadBack(3 * kWidth, 3 * kHeight);
    ExpectShownScaled(frame, window, layout);
    EXPECT_EQ(window.At(0, 0), kColourWhite);
    EXPECT_EQ(window.At(2, 2), kColourWhite);
    EXPECT_EQ(window.At(959, 719), kColourBlue);
    EXPECT_EQ(window.At(3 * 161 + 1, 3 * 121 + 1), kColourWhite);
    // The frame drawn in the corner was the screen: its top-left pixel sat at
    // window row 240 from the bottom.
    EXPECT_EQ(lowerLeft.At(0, 3 * kHeight - kHeight), kColourWhite);
    PresentFrame();  // and the next frame draws as usual
    DrawRect(0, 0, 4, 4, kColourGreen);
    EXPECT_EQ(GetPixel(3, 3), kColourGreen);
}

TEST_F(ScaledWindow, SaveScreenWritesTheScreenNotTheWindow) {
    Start(3);
    PresentFrame();
    DrawPattern();
    const std::string path = ::testing::TempDir() + "scaled.bmp";
    ASSERT_EQ(SaveScreen(RtString(path.c_str())), 1);
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), 54u + kWidth * kHeight * 3);
    auto le32 = [&](size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
    };
    EXPECT_EQ(le32(18), kWidth);
    EXPECT_EQ(le32(22), kHeight);
    // Rows bottom-up, blue-green-red: the first pixel is the bottom-left one.
    EXPECT_EQ(bytes[54], 255);      // magenta's blue
    EXPECT_EQ(bytes[54 + 1], 0);    // green
    EXPECT_EQ(bytes[54 + 2], 255);  // red
    const size_t topRight = 54 + (static_cast<size_t>(kHeight - 1) * kWidth + kWidth - 1) * 3;
    EXPECT_EQ(bytes[topRight], 255);  // cyan: blue and green, no red
    EXPECT_EQ(bytes[topRight + 1], 255);
    EXPECT_EQ(bytes[topRight + 2], 0);
    std::remove(path.c_str());
}

TEST_F(ScaledWindow, AWindowOfOddSizeIsLetterboxedAndCentred) {
    platform::ForceWindowSize(701, 503);
    Start(1);
    PresentFrame();
    const platform::FrameLayout layout = Layout();
    ASSERT_EQ(layout.drawableWidth, 701);
    ASSERT_EQ(layout.drawableHeight, 503);
    EXPECT_EQ(layout.scale, 2);
    EXPECT_EQ(layout.x, (701 - 640) / 2);
    EXPECT_EQ(layout.y, (503 - 480) / 2);
    DrawPattern();
    EXPECT_EQ(GetPixel(319, 239), kColourBlue);
    const Picture frame = ReadBack(kWidth, kHeight);
    OpenGLRainbowsTesting::ShowFrame(*gEngine.device);
    const Picture window = ReadBack(701, 503);
    ExpectShownScaled(frame, window, layout);
    EXPECT_EQ(window.At(layout.x - 1, layout.y), 0u);  // the bar left of the picture
    EXPECT_EQ(window.At(layout.x, layout.y), kColourWhite);
    EXPECT_EQ(window.At(700, 502), 0u);
}

TEST_F(ScaledWindow, AClickIsSeenAtTheScreenPixelUnderIt) {
    Start(3);
    PresentFrame();
    double x, y, left, right;
    for (auto [sx, sy] : {std::pair{100, 50}, std::pair{0, 0}, std::pair{319, 239}}) {
        platform::InjectMouseButton(1, true, 3 * sx + 1, 3 * sy + 1);
        PresentFrame();
        ReadMouse(x, y, left, right);
        EXPECT_EQ(x, sx);
        EXPECT_EQ(y, sy);
        EXPECT_EQ(left, 1);
        platform::InjectMouseButton(1, false, 3 * sx + 2, 3 * sy + 2);
        PresentFrame();
        ReadMouse(x, y, left, right);
        EXPECT_EQ(x, sx);  // the block's last pixel is still the same screen pixel
        EXPECT_EQ(y, sy);
    }
}

TEST_F(ScaledWindow, ClicksInTheBarsAreClampedToTheScreen) {
    platform::ForceWindowSize(700, 500);  // 2x at (30, 10)
    Start(1);
    PresentFrame();
    double x, y, left, right;
    platform::InjectMouseMotion(5, 3, 0, 0);
    PresentFrame();
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    platform::InjectMouseMotion(30 + 2 * 200 + 1, 10 + 2 * 100, 0, 0);
    PresentFrame();
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 100);
    platform::InjectMouseMotion(699, 499, 0, 0);
    PresentFrame();
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 319);
    EXPECT_EQ(y, 239);
}

TEST_F(ScaledWindow, CapturedMotionIsCountedInScreenPixels) {
    Start(3, /*captureMouse=*/1);
    PresentFrame();
    EXPECT_EQ(ReadMouseAxis(0), 0);
    PresentFrame();
    platform::InjectMouseMotion(0, 0, 30, -15);
    EXPECT_EQ(ReadMouseAxis(0), 10);
    EXPECT_EQ(ReadMouseAxis(1), -5);
    PresentFrame();
    // Two window pixels are less than a screen pixel; the rest carries over.
    platform::InjectMouseMotion(0, 0, 2, 0);
    EXPECT_EQ(ReadMouseAxis(0), 0);
    PresentFrame();
    platform::InjectMouseMotion(0, 0, 1, 0);
    EXPECT_EQ(ReadMouseAxis(0), 1);
}

TEST_F(ScaledWindow, FullScreenKeysSwitchAndAltEnterDoesNotPressReturn) {
    Start(1);
    SetEscapeQuits(0);
    PresentFrame();
    platform::InjectKeyCode(kKeyF11, true);
    platform::InjectKeyCode(kKeyF11, false);
    PresentFrame();
    if (!IsFullScreen()) GTEST_SKIP() << "this video driver has no desktop full screen";
    PresentFrame();
    DrawPattern();
    EXPECT_EQ(GetPixel(319, 239), kColourBlue);
    platform::InjectKeyCode(kKeyLeftAlt, true);
    platform::InjectKeyCode(kKeyReturn, true);
    EXPECT_EQ(KeyState(kKeyReturn), 0);
    platform::InjectKeyCode(kKeyReturn, false);
    platform::InjectKeyCode(kKeyLeftAlt, false);
    PresentFrame();
    EXPECT_EQ(IsFullScreen(), 0);
    const platform::FrameLayout layout = Layout();
    EXPECT_EQ(layout.drawableWidth, kWidth);
    EXPECT_EQ(layout.drawableHeight, kHeight);
}

}  // namespace
