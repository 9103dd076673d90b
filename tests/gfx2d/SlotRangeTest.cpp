// Numbers outside the device's tables, as a careless or hostile game passes
// them: each command and device operation does nothing and gives its failure
// answer, and the slots inside the table keep their pictures.
#include <filesystem>
#include <limits>

#include "Gfx2dFixture.h"
#include "runtime/runtime.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Below the table, one past its end, and numbers that fit no integer.
const double kBadSlots[] = {-1, kSpriteSlotCount, 1e12, -1e12, kNaN, 2147483648.0};

class SlotRange : public Gfx2d, public testing::WithParamInterface<double> {
  protected:
    void SetUp() override {
        Gfx2d::SetUp();
        LoadQuadrants(0);
    }
    std::string GreenPicture() {
        return WriteBmp("slot-range-green.bmp", 8, 8, [](int, int) { return kGreen; });
    }
    // Slot 0 still holds its 16 x 16 quadrants, drawn at (100, 100).
    void ExpectSlotZeroIntact() {
        double w = 0, h = 0;
        GetSpriteSize(0, w, h);
        EXPECT_EQ(w, 16);
        EXPECT_EQ(h, 16);
        ClearBackBuffer();
        DrawSprite(0, 100, 100);
        EXPECT_EQ(ScreenPixel(102, 102), kRed);
        EXPECT_EQ(ScreenPixel(113, 102), kGreen);
        EXPECT_EQ(ScreenPixel(102, 113), kBlue);
        EXPECT_EQ(ScreenPixel(113, 113), kWhite);
        ClearBackBuffer();
    }
    static std::vector<int> NothingLit() { return {1000, 1000, -1, -1}; }
};

TEST_P(SlotRange, LoadingFailsAndTheSizeIsZero) {
    const double slot = GetParam();
    const RtString picture(GreenPicture().c_str());
    EXPECT_EQ(LoadSprite(picture, slot), 0);
    EXPECT_EQ(LoadNormalMap(picture, slot), 0);
    EXPECT_EQ(LoadAnimation(picture, slot, 4, 4), 0);
    EXPECT_EQ(LoadSprite(RtString("no-such-picture.bmp"), slot), 0);
    double w = 9, h = 9;
    GetSpriteSize(slot, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    ExpectSlotZeroIntact();
    // The ends of the table are slots like any other.
    EXPECT_EQ(LoadSprite(picture, kSpriteSlotCount - 1), 1);
    GetSpriteSize(kSpriteSlotCount - 1, w, h);
    EXPECT_EQ(w, 8);
}

// An empty slot would draw StretchSprite's rectangle in white; a slot outside
// the table draws nothing at all.
TEST_P(SlotRange, SpriteAndAnimationCommandsDrawNothing) {
    const double slot = GetParam();
    DrawSprite(slot, 20, 20);
    StretchSprite(slot, 20, 20, 40, 40);
    StretchSprite(slot, 80, 20, -40, 40);
    ZoomSprite(slot, 20, 20, 2, 2);
    RotateSprite(slot, 20, 20, 30);
    RotoZoomSprite(slot, 20, 20, 30, 3);
    DrawAnimation(slot, 0, 20, 20);
    StretchAnimation(slot, 1, 20, 20, 40, 40);
    RotoZoomAnimation(slot, 2, 20, 20, 45, 2);
    EXPECT_EQ(LitBox(), NothingLit());
    ExpectSlotZeroIntact();
}

// A polygon on a slot that is not in the table is untextured, as one on a
// negative slot is: it shows its vertex colours.
TEST_P(SlotRange, PolygonsOnSlotsOutsideTheTableAreUntextured) {
    StartPolygon(GetParam());
    PolygonVertex(100, 100, 0, 0, kGreen);
    PolygonVertex(100, 120, 0, 16, kGreen);
    PolygonVertex(120, 120, 16, 16, kGreen);
    PolygonVertex(120, 100, 16, 0, kGreen);
    EndPolygon();
    EXPECT_EQ(ScreenPixel(110, 110), kGreen);
    EXPECT_EQ(ScreenPixel(130, 110), kBlack);
    ExpectSlotZeroIntact();
}

TEST_P(SlotRange, GrabbingAndSavingFail) {
    const double slot = GetParam();
    DrawRect(0, 0, 32, 32, kBlue);
    EXPECT_EQ(GrabSprite(slot, 0, 0, 16, 16), 0);
    const std::string bmp = TestFile("slot-range.bmp"), png = TestFile("slot-range.png");
    std::filesystem::remove(bmp);
    std::filesystem::remove(png);
    EXPECT_EQ(SaveSprite(RtString(bmp.c_str()), slot), 0);
    EXPECT_EQ(SaveSprite(RtString(png.c_str()), slot), 0);
    EXPECT_FALSE(std::filesystem::exists(bmp));
    EXPECT_FALSE(std::filesystem::exists(png));
    ExpectSlotZeroIntact();
}

TEST_P(SlotRange, NothingCollidesWithASlotOutsideTheTable) {
    const double slot = GetParam();
    ASSERT_EQ(SpriteCollision(0, 0, 0, 0, 8, 8), 1);  // the quadrants are opaque
    EXPECT_EQ(SpriteCollision(slot, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(SpriteCollision(0, 0, 0, slot, 0, 0), 0);
    EXPECT_EQ(SpriteCollision(slot, 0, 0, slot, 0, 0), 0);
    EXPECT_EQ(AnimationCollision(slot, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(AnimationCollision(0, 0, 0, 0, slot, 0, 0, 0), 0);
}

TEST_P(SlotRange, ATargetOntoASlotOutsideTheTableIsNotCreated) {
    CreateScreen(0, GetParam(), 16, 16);
    EXPECT_EQ(Device().Target(0)->framebuffer, 0u);
    UseScreen(0);
    EXPECT_EQ(Device().CurrentOffscreenTarget(), -1);
    DrawRect(0, 0, 4, 4, kRed);
    UseScreen(-1);
    EXPECT_EQ(ScreenPixel(2, 2), kRed);  // drawn in the window
    ExpectSlotZeroIntact();
}

INSTANTIATE_TEST_SUITE_P(Gfx2d, SlotRange, testing::ValuesIn(kBadSlots));

using DeviceTables = Gfx2d;

// The device's own operations take numbers from the commands (a font n in
// slot 65504 + n, a background image, a slot): each refuses one outside its
// table instead of reaching a neighbouring slot or field.
TEST_F(DeviceTables, FontNumbersOutsideZeroToThirtyOneAreRefused) {
    const std::string path =
        WriteBmp("slot-range-font.bmp", 128, 64, [](int, int) { return kWhite; });
    const uint32_t scratch = Slot(kScratchSlot).texture;
    for (int font : {-1, 32, -1000000, 2147483647}) {
        EXPECT_FALSE(Device().LoadFontFile(font, path.c_str())) << font;
        EXPECT_FALSE(Device().InstallBuiltInFont(font)) << font;
        EXPECT_EQ(Device().DrawText(font, "AB", 0, 0, 0), 0) << font;
        int w = 9, h = 9;
        Device().FontCellSize(font, w, h);
        EXPECT_EQ(w, 0) << font;
        EXPECT_EQ(h, 0) << font;
    }
    EXPECT_EQ(Slot(kScratchSlot).texture, scratch);  // font -1 would be the scratch slot
    EXPECT_EQ(LitBox(), std::vector<int>({1000, 1000, -1, -1}));
    int w = 0, h = 0;
    Device().FontCellSize(0, w, h);  // the built-in font of start-up
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 8);
    EXPECT_EQ(Device().DrawText(31, "AB", 0, 0, 0), 2);
}

TEST_F(DeviceTables, BackgroundNumbersOutsideZeroToSevenAreRefused) {
    const std::string path =
        WriteBmp("slot-range-back.bmp", 64, 64, [](int, int) { return kBlue; });
    ASSERT_TRUE(Device().LoadBackgroundFile(0, path.c_str()));
    for (int image : {-1, kBackgroundCount, 1000000})
        EXPECT_FALSE(Device().LoadBackgroundFile(image, path.c_str())) << image;
    for (double image : {1e12, -1e12, kNaN, 2147483648.0}) FreeBackground(image);
    EXPECT_EQ(Device().Background(0)->columnCount, 1);
    EXPECT_EQ(Device().SmoothFlag(), 1);  // the field after the last image
    Device().DrawBackground(0);
    EXPECT_EQ(ScreenPixel(10, 10), kBlue);
}

TEST_F(DeviceTables, SlotOperationsRefuseSlotsOutsideTheTable) {
    LoadQuadrants(0);
    for (int slot : {-1, kSpriteSlotCount, -2147483647 - 1, 2147483647}) {
        int w = 9, h = 9;
        Device().SpriteSize(slot, w, h);
        EXPECT_EQ(w, 0) << slot;
        EXPECT_EQ(h, 0) << slot;
        Device().SetFrameSize(slot, 8, 8);
        Device().FreeSprite(slot);
        EXPECT_FALSE(Device().GrabScreen(slot, 0, 0, 16, 16)) << slot;
        EXPECT_FALSE(Device().Collide(slot, -1, 0, 0, 0, -1, 0, 0)) << slot;
        EXPECT_FALSE(Device().Collide(0, -1, 0, 0, slot, -1, 0, 0)) << slot;
    }
    EXPECT_EQ(Slot(0).width, 16);
    EXPECT_NE(Slot(0).texture, 0u);
}

// Frame numbers far past a strip's frames must not overflow the arithmetic
// that places them; such a frame lies outside the picture and is not solid.
TEST_F(DeviceTables, FramesFarPastTheStripNeitherOverflowNorCollide) {
    ASSERT_EQ(LoadAnimation(RtString(WriteBmp("slot-range-strip.bmp", 16, 16,
                                              [](int x, int y) { return Quadrants(x, y, 16); })
                                         .c_str()),
                            0, 8, 8),
              1);
    EXPECT_EQ(AnimationCollision(0, 3, 0, 0, 0, 3, 0, 0), 1);
    for (double frame : {2147483647.0, 1e12, -1e12, kNaN, 2147483648.0}) {
        EXPECT_EQ(AnimationCollision(0, 2147483647.0, 0, 0, 0, frame, 0, 0), 0) << frame;
        EXPECT_EQ(AnimationCollision(0, frame, 0, 0, 0, 2147483647.0, 0, 0), 0) << frame;
        DrawAnimation(0, frame, 20, 20);
        StretchAnimation(0, frame, 20, 20, 16, 16);
        RotoZoomAnimation(0, frame, 20, 20, 30, 2);
    }
    ClearBackBuffer();
    DrawAnimation(0, 3, 0, 0);
    EXPECT_EQ(ScreenPixel(4, 4), kWhite);
}

}  // namespace
