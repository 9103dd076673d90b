// The window device's modes: full screen, multisampling, hiding.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "support/TestEngine.h"

namespace {

std::string ErrorLogText() {
    std::ifstream in(ErrorLogPath(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Today's displays offer no 320 x 240 mode: full screen is then the desktop's
// own mode with the screen scaled, and the screen stays 320 x 240.
TEST(WindowDevice, FullScreenWithoutAMatchingModeTakesTheDesktopMode) {
    ASSERT_TRUE(StartTestEngine());
    if (platform::DisplayModeAvailable(320, 240, 0)) GTEST_SKIP() << "the display offers 320 x 240";
    platform::Window* before = gEngine.device->Window();
    ASSERT_TRUE(gEngine.device->ChangeMode(0, 0, 0, 1));
    EXPECT_EQ(IsFullScreen(), 1);
    EXPECT_EQ(gEngine.device->Window(), before);  // the same window: no mode change
    EXPECT_EQ(ErrorLogText().find("No Fullscreen Mode available"), std::string::npos);
    EXPECT_EQ(gEngine.device->Width(), 320);
    EXPECT_EQ(gEngine.device->Height(), 240);
    const platform::FrameLayout layout = platform::GetFrameLayout(before);
    EXPECT_EQ(layout.drawableWidth, platform::DesktopWidth());
    EXPECT_EQ(layout.drawableHeight, platform::DesktopHeight());
    PresentFrame();  // still drawing
    DrawRect(0, 0, 320, 240, kColourRed);
    EXPECT_EQ(GetPixel(319, 239), kColourRed);
    const double start = EngineNow();
    EXPECT_TRUE(gEngine.device->EnterWindowed());
    EXPECT_LT(EngineNow() - start, 500.0);  // no mode to wait for
    EXPECT_EQ(IsFullScreen(), 0);
    EXPECT_EQ(platform::GetFrameLayout(before).drawableWidth, 320);
    PresentFrame();
}

TEST(WindowDevice, FullScreenAtTheDesktopSizeAndBack) {
    ASSERT_TRUE(StartTestEngine());
    const int w = platform::DesktopWidth(), h = platform::DesktopHeight();
    if (!platform::DisplayModeAvailable(w, h, 0)) GTEST_SKIP() << "no display modes";
    platform::Window* before = gEngine.device->Window();
    ASSERT_TRUE(gEngine.device->ChangeMode(w, h, 0, 1));
    gEngine.mainWindow = gEngine.device->Window();
    EXPECT_EQ(IsFullScreen(), 1);
    EXPECT_NE(gEngine.device->Window(), before);  // a new window, the same context
    EXPECT_EQ(platform::GetCaption(gEngine.device->Window()), "Quorbel");
    // The frame rate survives the switch.
    EXPECT_DOUBLE_EQ(gEngine.device->FrameInterval(), 1000.0 / 60);
    const double start = EngineNow();
    EXPECT_TRUE(gEngine.device->EnterWindowed());
    EXPECT_GE(EngineNow() - start, 500.0);
    EXPECT_EQ(IsFullScreen(), 0);
}

TEST(WindowDevice, MultisamplingTakesTheBestFormatOnOffer) {
    gEngine.multisampleSamples = 8;
    const bool started = StartTestEngine();
    // The setting outlives this engine: later ones in the process would be
    // multisampled too, where a rectangle over the whole screen leaves its top
    // row unset.
    gEngine.multisampleSamples = 0;
    ASSERT_TRUE(started);
    const int got = gEngine.device->MultisampleSamples();
    EXPECT_TRUE(got == 0 || got == 1 || got == 2 || got == 4 || got == 8) << got;
    if (got > 0) {
        GLint samples = 0;
        glGetIntegerv(GL_SAMPLES, &samples);
        EXPECT_GE(samples, 1);
        // Halving from 8 stops at the first count the driver accepts.
        for (int n = 8; n > got; n /= 2) EXPECT_FALSE(platform::MultisampleFormatAvailable(n)) << n;
    }
    PresentFrame();
}

TEST(WindowDevice, ExtensionEntryPointsAreNullOrBackedByTheirExtension) {
    ASSERT_TRUE(StartTestEngine());
    const GlEntryPoints& gl = gEngine.gl;
    EXPECT_EQ(gl.bindFramebuffer != nullptr,
              platform::GlExtensionSupported("GL_EXT_framebuffer_object"));
    EXPECT_EQ(gl.activeTexture != nullptr, platform::GlExtensionSupported("GL_ARB_multitexture"));
    EXPECT_FALSE(platform::GlExtensionSupported("GL_QUORBEL_no_such_extension"));
    EXPECT_FALSE(platform::GlExtensionSupported("GL_EXT_framebuffer"));  // whole words only
}

TEST(WindowDevice, HideWindowHidesAndKeepsPresenting) {
    ASSERT_TRUE(StartTestEngine());
    EXPECT_TRUE(gEngine.device->HideWindow());
    EXPECT_FALSE(platform::IsWindowShown(gEngine.device->Window()));
    EXPECT_GE(gEngine.device->Present(), 1.0);
}

}  // namespace

// A driver that cannot draw through shaders is refused at start-up, with the
// reason, rather than drawn on wrongly.
TEST(WindowDevice, AContextWithoutShadersFailsStartUpWithTheReason) {
    platform::HideGlFunction("glCreateShader");
    const bool started = StartTestEngine();
    platform::HideGlFunction(nullptr);
    EXPECT_FALSE(started);
    EXPECT_NE(std::string(DeviceCreateError()).find("has no glCreateShader"), std::string::npos)
        << DeviceCreateError();
    ASSERT_TRUE(StartTestEngine());
    DrawRect(0, 0, 4, 4, RgbColour(0, 255, 0));
    EXPECT_EQ(GetPixel(1, 1), RgbColour(0, 255, 0));
}
