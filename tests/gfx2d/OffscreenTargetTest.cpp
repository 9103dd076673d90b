// Off-screen targets through framebuffer objects and through the emulation
// that draws in the window's corner, forced by hiding the entry points.
#include "Gfx2dFixture.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/runtime.h"

namespace {

class OffscreenTargets : public Gfx2d, public testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        Gfx2d::SetUp();
        if (!GetParam()) {
            GlEntryPoints& gl = gEngine.gl;
            gl.bindFramebuffer = nullptr;
            gl.genFramebuffers = nullptr;
            gl.checkFramebufferStatus = nullptr;
            gl.deleteFramebuffers = nullptr;
            gl.framebufferTexture2D = nullptr;
            gl.framebufferRenderbuffer = nullptr;
            gl.bindRenderbuffer = nullptr;
            gl.genRenderbuffers = nullptr;
            gl.deleteRenderbuffers = nullptr;
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
    EXPECT_EQ(Device().Target(0)->slot, 50);
    EXPECT_EQ(Device().Target(0)->width, GetParam() ? 64 : 0);
    UseScreen(0);
    EXPECT_EQ(Device().CurrentOffscreenTarget(), 0);
    DrawRect(0, 0, 10, 20, kRed);
    DrawRect(30, 0, 10, 5, kGreen);
    UseScreen(-1);
    EXPECT_EQ(Device().CurrentOffscreenTarget(), -1);
    ClearBackBuffer();
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
    Device().EndScreen();
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
    EXPECT_EQ(Device().CurrentOffscreenTarget(), -1);
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
    EXPECT_EQ(Device().CurrentOffscreenTarget(), 4);
    UseScreen(-1);
    EXPECT_EQ(Device().CurrentOffscreenTarget(), -1);
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
    ClearBackBuffer();
    DrawSprite(55, 0, 0);
    DrawSprite(56, 20, 0);
    EXPECT_EQ(ScreenPixel(8, 8), kRed);
    EXPECT_EQ(ScreenPixel(28, 8), kGreen);
}

// A target that CreateScreen never set up has no slot of its own: using it
// must neither draw into the window's corner nor take over sprite slot 0.
TEST_P(OffscreenTargets, ATargetNeverCreatedIsIgnored) {
    LoadQuadrants(0);
    auto expectWindowAndSlotZeroIntact = [&](uint32_t corner) {
        EXPECT_EQ(ScreenPixel(2, 2), corner);
        for (auto [x, y] : {std::pair{12, 2}, {2, 12}, {20, 20}, {31, 31}, {40, 5}})
            EXPECT_EQ(ScreenPixel(x, y), kBlue) << x << ", " << y;
        EXPECT_EQ(Slot(0).width, 16);
        EXPECT_EQ(Slot(0).textureWidth, 16);
        const std::string saved = TestFile("never-created.bmp");
        ASSERT_EQ(SaveSprite(RtString(saved.c_str()), 0), 1);
        ASSERT_EQ(LoadSprite(RtString(saved.c_str()), 20), 1);
        DrawSprite(20, 100, 100);
        EXPECT_EQ(ScreenPixel(102, 102), kRed);
        EXPECT_EQ(ScreenPixel(113, 102), kGreen);
        EXPECT_EQ(ScreenPixel(102, 113), kBlue);
        EXPECT_EQ(ScreenPixel(113, 113), kWhite);
    };

    DrawRect(0, 0, 320, 240, kBlue);
    UseScreen(7);
    EXPECT_EQ(Device().CurrentOffscreenTarget(), -1);
    UseScreen(-1);
    expectWindowAndSlotZeroIntact(kBlue);

    DrawRect(0, 0, 320, 240, kBlue);
    UseScreen(7);
    DrawRect(0, 0, 8, 8, kGreen);  // lands in the window
    UseScreen(-1);
    expectWindowAndSlotZeroIntact(kGreen);

    // An active target stays active, as it does for numbers above 31.
    CreateScreen(4, 54, 16, 16);
    UseScreen(4);
    UseScreen(7);
    EXPECT_EQ(Device().CurrentOffscreenTarget(), 4);
    UseScreen(-1);
    PresentFrame();
    EXPECT_EQ(Slot(0).width, 16);
    EXPECT_EQ(Slot(0).textureWidth, 16);

    // With slot 0 empty the emulation would have used the whole window.
    LoadSprite(RtString("no-such-picture.bmp"), 0);
    DrawRect(0, 0, 320, 240, kBlue);
    UseScreen(7);
    UseScreen(-1);
    EXPECT_EQ(Slot(0).texture, 0u);
    EXPECT_EQ(ScreenPixel(2, 2), kBlue);
    EXPECT_EQ(ScreenPixel(31, 31), kBlue);
}

// The emulation saves the window's content in the scratch slot while a target
// draws, so no target may draw into that slot.
TEST_P(OffscreenTargets, TheScratchSlotIsNoTarget) {
    DrawRect(0, 0, 320, 240, kBlue);
    CreateScreen(8, kScratchSlot, 16, 16);
    EXPECT_EQ(Device().Target(8)->framebuffer, 0u);
    UseScreen(8);
    EXPECT_EQ(Device().CurrentOffscreenTarget(), -1);
    DrawRect(0, 0, 8, 8, kGreen);
    UseScreen(-1);
    EXPECT_EQ(ScreenPixel(2, 2), kGreen);
    EXPECT_EQ(ScreenPixel(12, 12), kBlue);
    EXPECT_EQ(ScreenPixel(20, 20), kBlue);
}

INSTANTIATE_TEST_SUITE_P(Gfx2d, OffscreenTargets, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "FramebufferObjects" : "Emulated";
                         });
