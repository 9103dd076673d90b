// Sizes a careless or hostile game passes: grabs, off-screen targets,
// pictures, texts and polygons of any size give their failure answer or draw
// what fits, allocate within bounds, never end the process, and never report
// success for a slot they did not fill.
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "Gfx2dFixture.h"
#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/gfx2d/SpriteSlots.h"
#include "runtime/runtime.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Run in a process of its own: before the mend both calls ended it with an
// uncaught std::bad_alloc (exit code 134).
TEST(HugeSizesProcess, GrabAndTargetOfAHundredThousandSquareFailAndTheProgramEndsWithZero) {
    EXPECT_EXIT(
        {
            if (!StartTestEngine()) std::exit(2);
            const double grabbed = GrabSprite(1, 0, 0, 100000, 100000);
            const double created = CreateScreen(0, 1, 100000, 100000);
            double w = 9;
            double h = 9;
            GetSpriteSize(1, w, h);
            std::fprintf(stderr, "grabbed %g created %g size %g x %g target slot %d\n", grabbed,
                         created, w, h, gEngine.device->Target(0)->slot);
            EndProgram();
        },
        testing::ExitedWithCode(0), "grabbed 0 created 0 size 0 x 0 target slot -1\n");
}

// Widths and heights no slot can hold: below 1, NaN (truncated to the
// smallest integer), over the slot's 16-bit sizes, over the texture limit.
std::vector<double> BadSides() {
    return {0,
            -1,
            -100000,
            kNaN,
            -kInfinity,
            kInfinity,
            32768,
            40000,
            65536,
            100000,
            1e12,
            -1e12,
            2147483648.0,
            static_cast<double>(MaxSlotSide()) + 1};
}

class HugeSizes : public Gfx2d, public testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        Gfx2d::SetUp();
        // Without frame-buffer alpha the grab reads the screen back through
        // the process's own buffer; with it, the copy stays in GL.
        if (!GetParam()) OpenGLRainbowsTesting::AssumeFrameBufferAlphaBits(Device(), 0);
        LoadQuadrants(5);
        texture_ = Slot(5).texture;
    }
    // Slot 5 still holds its 16 x 16 quadrants, in the same texture.
    void ExpectSlotFiveIntact(const std::string& what) {
        EXPECT_EQ(Slot(5).texture, texture_) << what;
        EXPECT_EQ(Slot(5).width, 16) << what;
        EXPECT_EQ(Slot(5).height, 16) << what;
        EXPECT_EQ(Slot(5).textureWidth, 16) << what;
        EXPECT_EQ(Slot(5).textureHeight, 16) << what;
    }

    uint32_t texture_ = 0;
};

TEST_P(HugeSizes, GrabsOfSizesNoSlotHoldsFailAndLeaveTheSlotAsItWas) {
    for (double bad : BadSides()) {
        for (auto [w, h] : {std::pair{bad, 16.0}, {16.0, bad}, {bad, bad}}) {
            const std::string what = std::to_string(w) + " x " + std::to_string(h);
            EXPECT_EQ(GrabSprite(5, 0, 0, w, h), 0) << what;
            ExpectSlotFiveIntact(what);
        }
    }
    // A large grab within the limit still works.
    DrawRect(0, 0, 320, 240, kGreen);
    ASSERT_EQ(GrabSprite(6, 0, 0, 1000, 600), 1);
    EXPECT_EQ(Slot(6).width, 1000);
    EXPECT_EQ(Slot(6).height, 600);
    EXPECT_EQ(Slot(6).textureWidth, 1024);
    EXPECT_EQ(Slot(6).textureHeight, 1024);
    int tw = 0;
    const auto texels = TextureTexels(Slot(6).texture, 0, &tw);
    EXPECT_EQ(TexelColour(texels, tw, 10, 599), kGreen);  // the screen's top-left corner
}

// Positions far off the screen, however far, grab (undefined pixels, as
// anywhere off the screen) without overflowing the arithmetic that places them.
TEST_P(HugeSizes, GrabsFarOffTheScreenStayInRange) {
    for (double far : {kNaN, 1e12, -1e12, 2147483647.0, -2147483648.0}) {
        EXPECT_EQ(GrabSprite(7, far, 0, 16, 16), 1) << far;
        EXPECT_EQ(GrabSprite(7, 0, far, 16, 16), 1) << far;
        EXPECT_EQ(GrabSprite(7, far, far, 32, 8), 1) << far;
        EXPECT_EQ(Slot(7).width, 32);
        EXPECT_EQ(Slot(7).height, 8);
    }
}

TEST_P(HugeSizes, TargetsOfSizesNoSlotHoldsAreNotCreated) {
    for (double bad : BadSides()) {
        for (auto [w, h] : {std::pair{bad, 16.0}, {16.0, bad}, {bad, bad}}) {
            const std::string what = std::to_string(w) + " x " + std::to_string(h);
            EXPECT_EQ(CreateScreen(3, 5, w, h), 0) << what;
            EXPECT_EQ(Device().Target(3)->slot, -1) << what;
            ExpectSlotFiveIntact(what);
        }
    }
    UseScreen(3);
    EXPECT_EQ(Device().CurrentOffscreenTarget(), -1);
    // The other refusals give their answer too; a good size is set up.
    EXPECT_EQ(CreateScreen(32, 5, 16, 16), 0);
    EXPECT_EQ(CreateScreen(3, kScratchSlot, 16, 16), 0);
    EXPECT_EQ(CreateScreen(3, -1, 16, 16), 0);
    ExpectSlotFiveIntact("refused");
    EXPECT_EQ(CreateScreen(3, 8, 40, 20), 1);
    EXPECT_EQ(Device().Target(3)->slot, 8);
    EXPECT_EQ(Slot(8).width, 40);
    EXPECT_EQ(Slot(8).textureWidth, 64);
}

INSTANTIATE_TEST_SUITE_P(Gfx2d, HugeSizes, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "FrameBufferAlpha" : "ReadBack";
                         });

using HugePictures = Gfx2d;

// A picture wider than the slot's 16-bit sizes count is cut to the largest
// side a slot holds, as one over the texture limit is; before, its width
// wrapped to a negative number.
TEST_F(HugePictures, PicturesWiderThanASlotHoldsAreCutToTheLargestSide) {
    const std::string path =
        WriteBmp("wide.bmp", 40000, 2, [](int x, int) { return x < 8 ? kRed : kGreen; });
    ASSERT_EQ(LoadSprite(RtString(path.c_str()), 9), 1);
    const int side = MaxSlotSide();
    double w = 0, h = 0;
    GetSpriteSize(9, w, h);
    EXPECT_EQ(w, std::min(40000, side));
    EXPECT_EQ(h, 2);
    EXPECT_EQ(Slot(9).textureWidth, side);
    EXPECT_LE(side, 16384);
    int tw = 0;
    const auto texels = TextureTexels(Slot(9).texture, 0, &tw);
    EXPECT_EQ(TexelColour(texels, tw, 0, 1), kRed);
    EXPECT_EQ(TexelColour(texels, tw, 8, 1), kGreen);
    ClearScreen();
    DrawSprite(9, 0, 0);
    EXPECT_EQ(ScreenPixel(4, 0), kRed);
    EXPECT_EQ(ScreenPixel(300, 1), kGreen);
}

using HugeTexts = Gfx2d;

// A text of any length draws from its first cell that reaches the view, at
// most 65,536 cells, so its vertex room stays bounded.
TEST_F(HugeTexts, LongTextsDrawWhatCanShowWithBoundedVertexRoom) {
    const std::string text(1000000, 'A');
    EXPECT_EQ(Device().DrawText(0, text.c_str(), 0, 0, 0), 65536);
    EXPECT_LE(Device().VertexCapacity(), 65536 * 4 + 128);
    EXPECT_EQ(ScreenPixel(2, 1), kWhite);  // the first "A"'s top bar
    EXPECT_EQ(ScreenPixel(8 * 39 + 2, 1), kWhite);

    // Started far left, only the last ten cells reach the view.
    ClearScreen();
    EXPECT_EQ(Device().DrawText(0, text.c_str(), -8.0f * 999990, 0, 0), 10);
    EXPECT_EQ(ScreenPixel(2, 1), kWhite);
    EXPECT_EQ(ScreenPixel(8 * 9 + 2, 1), kWhite);
    EXPECT_EQ(ScreenPixel(8 * 10 + 2, 1), kBlack);
    EXPECT_EQ(Device().DrawText(0, text.c_str(), -8.0f * 2000000, 0, 0), 0);
    EXPECT_EQ(Device().DrawText(0, text.c_str(), -1e30f, 0, 0), 0);
    PrintText(RtString(text.c_str()), 0, 100);
    EXPECT_EQ(ScreenPixel(2, 101), kWhite);
}

using HugePolygons = Gfx2d;

// Corners past the 65,536th of one polygon are dropped: a triangle they
// would add to the fan is not drawn.
TEST_F(HugePolygons, CornersPastTheLimitAreDropped) {
    StartPolygon(-1);
    PolygonVertex(10, 10, 0, 0, kGreen);
    PolygonVertex(10, 20, 0, 0, kGreen);
    PolygonVertex(20, 20, 0, 0, kGreen);
    PolygonVertex(20, 10, 0, 0, kGreen);
    for (int i = 4; i < 65536; ++i) PolygonVertex(10, 10, 0, 0, kGreen);
    PolygonVertex(300, 200, 0, 0, kGreen);
    PolygonVertex(300, 230, 0, 0, kGreen);
    EndPolygon();
    EXPECT_EQ(ScreenPixel(15, 15), kGreen);
    EXPECT_EQ(ScreenPixel(290, 210), kBlack);
}

}  // namespace
