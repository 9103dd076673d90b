// Bitmap fonts: the built-in font's glyphs, cell sizes of font pictures,
// positions, wrapping codes and the font slots.
#include <cstring>

#include "Gfx2dFixture.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/Font.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"

using Fonts = Gfx2d;

namespace {

// The built-in glyphs of "A" and "B", 5 x 6, as drawn by hand.
const char* const kGlyphA[6] = {".###.", ".#.#.", ".###.", ".#.#.", ".#.#.", "....."};
const char* const kGlyphB[6] = {".###.", ".#.#.", ".##..", ".#.#.", ".###.", "....."};

bool GlyphLit(const char* const* glyph, int column, int row) {
    return column >= 0 && column < 5 && row >= 0 && row < 6 && glyph[row][column] == '#';
}

// What a cell shows at (x, y): white where lit, dark grey beside a lit pixel.
uint32_t CellPixel(const char* const* glyph, int x, int y) {
    const int column = x - 1, row = y - 1;
    if (GlyphLit(glyph, column, row)) return kWhite;
    if (GlyphLit(glyph, column - 1, row) || GlyphLit(glyph, column + 1, row) ||
        GlyphLit(glyph, column, row - 1) || GlyphLit(glyph, column, row + 1))
        return Rgb(8, 8, 8);
    return kBlack;
}

}  // namespace

TEST_F(Fonts, BuiltInFontIsCurrentAfterStartUpWithEightByEightCells) {
    EXPECT_EQ(gEngine.currentFont, 0);
    double w = 0, h = 0;
    GetFontSize(w, h);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 8);
    EXPECT_EQ(Slot(kFontSlotBase).textureWidth, 128);
    EXPECT_EQ(Slot(kFontSlotBase).textureHeight, 64);
    EXPECT_EQ(Slot(kFontSlotBase).width, 128);
    EXPECT_EQ(Slot(kFontSlotBase).height, 64);
}

TEST_F(Fonts, TextABAtTheOriginShowsTheBuiltInGlyphs) {
    PrintText(RtString("AB"), 0, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            uint32_t expected = kBlack;
            if (y < 8 && x < 8) expected = CellPixel(kGlyphA, x, y);
            if (y < 8 && x >= 8 && x < 16) expected = CellPixel(kGlyphB, x - 8, y);
            EXPECT_EQ(ScreenPixel(x, y), expected) << x << ", " << y;
        }
}

TEST_F(Fonts, BuiltInPictureFollowsTheMasks) {
    std::vector<uint8_t> picture(kBuiltInFontWidth * kBuiltInFontHeight * 4);
    BuildBuiltInFont(picture.data());
    auto pixel = [&](int x, int y) {
        const uint8_t* p = &picture[(static_cast<size_t>(y) * kBuiltInFontWidth + x) * 4];
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    // "A" is code 65: column 1, row 4.
    EXPECT_EQ(pixel(8 + 2, 32 + 1), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(pixel(8 + 1, 32 + 1), (std::vector<int>{8, 8, 8, 255}));
    EXPECT_EQ(pixel(8 + 0, 32 + 0), (std::vector<int>{0, 0, 0, 0}));
    // Codes below 32 are empty; a space too.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 128; ++x) EXPECT_EQ(pixel(x, y)[3], 0);
    for (int y = 16; y < 24; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(pixel(x, y)[3], 0);
    // Code 127 is a full frame: its corners are lit.
    EXPECT_EQ(pixel(15 * 8 + 1, 7 * 8 + 1)[0], 255);
    EXPECT_EQ(pixel(15 * 8 + 5, 7 * 8 + 6)[0], 255);
}

TEST_F(Fonts, TextStartsAtTheRoundedUpPositionWithHardEdges) {
    PrintText(RtString("A"), 0.5, 0.25);
    // The cell starts at (1, 1); the outline of "A" starts one pixel into
    // its cell to the right and at the cell's top.
    const auto box = LitBox();
    EXPECT_EQ(box[0], 2);
    EXPECT_EQ(box[1], 1);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const uint32_t p = ScreenPixel(x, y);
            EXPECT_TRUE(p == kBlack || p == kWhite || p == Rgb(8, 8, 8)) << x << ", " << y;
        }
    EXPECT_EQ(ScreenPixel(1 + 2, 1 + 1), kWhite);
}

TEST_F(Fonts, MissingFileInstallsTheBuiltInFontAndMakesItCurrent) {
    LoadFont(RtString("no such font.png"), 5);
    EXPECT_EQ(gEngine.currentFont, 5);
    EXPECT_EQ(Slot(kFontSlotBase + 5).width, 128);
    double w = 0, h = 0;
    GetFontSize(w, h);
    EXPECT_EQ(w, 8);
    LoadFont(RtString(""), -3);
    EXPECT_EQ(gEngine.currentFont, 0);
    LoadFont(RtString(""), 40);
    EXPECT_EQ(gEngine.currentFont, 31);
    SetFont(-1);
    EXPECT_EQ(gEngine.currentFont, 0);
    SetFont(99);
    EXPECT_EQ(gEngine.currentFont, 31);
}

TEST_F(Fonts, CellSizesFollowThePictureShape) {
    struct Case {
        int width, height, cellWidth, cellHeight;
    };
    for (const Case c : {Case{256, 128, 16, 16}, Case{128, 256, 8, 16}, Case{256, 256, 16, 32},
                         Case{128, 64, 8, 8}}) {
        const auto path = WriteBmp("cells.bmp", c.width, c.height, [](int, int) { return kWhite; });
        LoadFont(RtString(path.c_str()), 3);
        double w = 0, h = 0;
        GetFontSize(w, h);
        EXPECT_EQ(w, c.cellWidth) << c.width << " x " << c.height;
        EXPECT_EQ(h, c.cellHeight) << c.width << " x " << c.height;
    }
}

// An 8-row font picture of 128 x 64 where the cell of code c has red c:
// code 200 wraps to the cell of code 72.
TEST_F(Fonts, CodesBeyondAnEightRowFontWrap) {
    const auto path =
        WriteBmp("codes.bmp", 128, 64, [](int x, int y) { return Rgb(y / 8 * 16 + x / 8, 1, 1); });
    LoadFont(RtString(path.c_str()), 4);
    const char text[] = {static_cast<char>(200), 'A', static_cast<char>(0x80 + 1), 0};
    PrintText(RtString(text), 0, 0);
    EXPECT_EQ(ScreenPixel(3, 3), Rgb(72, 1, 1));
    EXPECT_EQ(ScreenPixel(11, 3), Rgb('A', 1, 1));
    EXPECT_EQ(ScreenPixel(19, 3), Rgb(1, 1, 1));
}

TEST_F(Fonts, SixteenRowFontsShowCodesAbove127) {
    const auto path =
        WriteBmp("tall.bmp", 128, 256, [](int x, int y) { return Rgb(y / 16 * 16 + x / 8, 2, 2); });
    LoadFont(RtString(path.c_str()), 6);
    const char text[] = {static_cast<char>(200), 0};
    PrintText(RtString(text), 0, 0);
    EXPECT_EQ(ScreenPixel(3, 3), Rgb(200, 2, 2));
    EXPECT_EQ(LitBox(), (std::vector<int>{0, 0, 7, 15}));
}

TEST_F(Fonts, PrintNumberUsesTheNumberText) {
    PrintNumber(-2.5, 0, 0);
    const auto box = LitBox();
    EXPECT_EQ(box[0], 1);      // the outline of "-"
    EXPECT_GE(box[2], 3 * 8);  // four cells
    EXPECT_LT(box[2], 4 * 8);
    ClearBackBuffer();
    PrintNumber(0, 0, 0);
    EXPECT_LE(LitBox()[2], 7);
}

TEST_F(Fonts, VertexStoreGrowsToFiveHundredTwelveThenInStepsOf128) {
    PrintText(RtString("x"), 0, 0);
    EXPECT_EQ(Device().VertexCapacity(), 512);
    std::string longText(200, 'x');
    PrintText(RtString(longText.c_str()), 0, 0);
    EXPECT_EQ(Device().VertexCapacity(), 896);  // 800 vertices needed
    PrintText(RtString("x"), 0, 0);
    EXPECT_EQ(Device().VertexCapacity(), 896);
    PrintText(RtString(""), 0, 0);
    EXPECT_EQ(Device().VertexCapacity(), 896);
}

TEST_F(Fonts, TextIsDrawnInTheCurrentOpacity) {
    SetAlphaMode(-0.5);
    PrintText(RtString("A"), 0, 0);
    EXPECT_NEAR(static_cast<int>(ScreenPixel(3, 1) & 255), 128, 1);
}

// Start-up draws "Loading..." in the built-in font at ((320 - 80) / 2,
// (240 - 8) / 2) and presents it; the pump runs just before the swap.
namespace {
int gLoadingPixels = 0;
void CountLoadingPixels() {
    if (!gEngine.device || !gEngine.device->Initialised()) return;
    FlushDrawing();
    std::vector<uint8_t> rgba(80 * 8 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(120, 240 - 116 - 8, 80, 8, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int white = 0;
    for (size_t i = 0; i < rgba.size(); i += 4) white += rgba[i] == 255 && rgba[i + 1] == 255;
    gLoadingPixels = std::max(gLoadingPixels, white);
}
}  // namespace

TEST(LoadingScreen, StartUpShowsLoadingInTheBuiltInFont) {
    platform::SetPumpHook(CountLoadingPixels);
    ASSERT_TRUE(StartTestEngine());
    platform::SetPumpHook(nullptr);
    // "Loading..." lights 5 to 9 pixels per glyph.
    EXPECT_GT(gLoadingPixels, 40);
    EXPECT_LT(gLoadingPixels, 120);
}
