// Off-screen targets through framebuffer objects and through the emulation
// that draws in the window's corner, forced by hiding the entry points.
#include "Gfx2dFixture.h"

namespace {

class OffscreenTargets : public Gfx2d, public testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        Gfx2d::SetUp();
        if (!GetParam()) {
            GlEntryPoints& gl = gEngine.gl;
            gl.bindFramebuffer = gl.genFramebuffers = gl.checkFramebufferStatus = nullptr;
            gl.deleteFramebuffers = gl.framebufferTexture2D = gl.framebufferRenderbuffer = nullptr;
            gl.bindRenderbuffer = gl.genRenderbuffers = gl.deleteRenderbuffers = nullptr;
            gl.renderbufferStorage = nullptr;
        } else if (!gEngine.gl.bindFramebuffer) {
            GTEST_SKIP() << "no framebuffer objects on this driver";
        }
    }
};

}  // namespace

TEST_P(OffscreenTargets, DrawingLandsInTheSlot) {
    CreateScreen(0, 50, 40, 20);
    EXPECT_EQ(Slot(50).width, 40);
    EXPECT_EQ(Slot(50).height, 20);
    EXPECT_EQ(Device().offscreenTargets[0].slot, 50);
    EXPECT_EQ(Device().offscreenTargets[0].width, GetParam() ? 64 : 0);
    UseScreen(0);
    EXPECT_EQ(Device().currentOffscreenTarget, 0);
    DrawRect(0, 0, 10, 20, kRed);
    DrawRect(30, 0, 10, 5, kGreen);
    UseScreen(-1);
    EXPECT_EQ(Device().currentOffscreenTarget, -1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawSprite(50, 100, 100);
    EXPECT_EQ(ScreenPixel(100, 100), kRed);
    EXPECT_EQ(ScreenPixel(109, 119), kRed);
    EXPECT_EQ(ScreenPixel(135, 100), kGreen);
    EXPECT_EQ(ScreenPixel(120, 110), kBlack);  // never drawn: transparent
}

TEST_P(OffscreenTargets, EndingTheTargetLeavesTheWindowContentIntact) {
    DrawRect(0, 0, 320, 240, kBlue);
    DrawRect(5, 5, 3, 3, kWhite);
    CreateScreen(1, 51, 32, 32);
    UseScreen(1);
    DrawRect(0, 0, 32, 32, kGreen);
    EndScreen();
    EXPECT_EQ(ScreenPixel(0, 0), kBlue);
    EXPECT_EQ(ScreenPixel(6, 6), kWhite);
    EXPECT_EQ(ScreenPixel(31, 31), kBlue);
    EXPECT_EQ(ScreenPixel(200, 200), kBlue);
}

TEST_P(OffscreenTargets, TargetKeepsItsContentBetweenUses) {
    CreateScreen(2, 52, 16, 16);
    UseScreen(2);
    DrawRect(0, 0, 8, 16, kRed);
    UseScreen(-1);
    UseScreen(2);
    DrawRect(8, 0, 8, 16, kGreen);
    // Present ends the target.
    PresentFrame();
    EXPECT_EQ(Device().currentOffscreenTarget, -1);
    DrawSprite(52, 0, 0);
    EXPECT_EQ(ScreenPixel(2, 2), kRed);
    EXPECT_EQ(ScreenPixel(12, 2), kGreen);
}

TEST_P(OffscreenTargets, GetPixelReadsTheRowDrawingWrote) {
    CreateScreen(3, 53, 40, 20);  // not a power of two high
    UseScreen(3);
    DrawPixel(7, 3, Rgb(1, 2, 3));
    EXPECT_EQ(GetPixel(7, 3), Rgb(1, 2, 3));
    // Untouched: transparent in the slot's texture; under the emulation the
    // window's corner shows the transparent colour until the target ends.
    EXPECT_EQ(GetPixel(7, 4), GetParam() ? 0.0 : kKey);
    UseScreen(-1);
}

TEST_P(OffscreenTargets, OutOfRangeTargetsAreIgnored) {
    CreateScreen(40, 54, 16, 16);
    EXPECT_EQ(Slot(54).texture, 0u);
    CreateScreen(4, 54, 16, 16);
    UseScreen(4);
    UseScreen(40);
    EXPECT_EQ(Device().currentOffscreenTarget, 4);
    UseScreen(-1);
    EXPECT_EQ(Device().currentOffscreenTarget, -1);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
}

TEST_P(OffscreenTargets, SwitchingTargetsFinishesTheFirst) {
    CreateScreen(5, 55, 16, 16);
    CreateScreen(6, 56, 16, 16);
    UseScreen(5);
    DrawRect(0, 0, 16, 16, kRed);
    UseScreen(6);
    DrawRect(0, 0, 16, 16, kGreen);
    UseScreen(-1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawSprite(55, 0, 0);
    DrawSprite(56, 20, 0);
    EXPECT_EQ(ScreenPixel(8, 8), kRed);
    EXPECT_EQ(ScreenPixel(28, 8), kGreen);
}

INSTANTIATE_TEST_SUITE_P(Gfx2d, OffscreenTargets, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "FramebufferObjects" : "Emulated";
                         });
