// BMP decoding: every bit depth, every info header size (12, 40, and the V4
// and V5 headers of today's editors), palettes, row order either way and
// padding, the colour key, and files that lie about themselves.
#include <array>

#include "FilesTestSupport.h"
#include "runtime/files/BmpDecoder.h"
#include "runtime/files/ImageFile.h"
#include "runtime/files/LittleEndian.h"

namespace {

using namespace filestest;
using Rgb = std::array<uint8_t, 3>;
using Rgba = std::array<uint8_t, 4>;

struct BmpRecipe {
    uint32_t infoSize = 40;
    int32_t width = 0;
    int32_t height = 0;
    int bits = 24;
    std::vector<Rgb> palette;
    std::vector<uint8_t> area;  // the stored rows, bottom row first, padded
    uint32_t compression = 0;
    // V4 and V5 only: red, green, blue and alpha masks.
    std::array<uint32_t, 4> masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
};

constexpr uint32_t kV4 = 108, kV5 = 124;

// The V4 and V5 fields after the 40-byte header, as GIMP fills them: the
// masks, the sRGB colour space (its end points and gammas 0), and for V5 the
// intent "pictures" with no profile.
void AppendNewerHeaderFields(const BmpRecipe& recipe, std::vector<uint8_t>* out) {
    for (uint32_t mask : recipe.masks) AppendLe32(out, mask);
    AppendLe32(out, 0x73524742);  // "sRGB"
    out->resize(14 + kV4, 0);
    if (recipe.infoSize == kV5) {
        AppendLe32(out, 4);
        out->resize(14 + kV5, 0);
    }
}

// Lays the file out field by field: file header, info header, palette, pixels.
std::vector<uint8_t> BuildBmp(const BmpRecipe& recipe) {
    const uint32_t entrySize = recipe.infoSize == 12 ? 3 : 4;
    const uint32_t offset =
        14 + recipe.infoSize + entrySize * static_cast<uint32_t>(recipe.palette.size());
    std::vector<uint8_t> out = {'B', 'M'};
    AppendLe32(&out, offset + static_cast<uint32_t>(recipe.area.size()));
    AppendLe32(&out, 0);
    AppendLe32(&out, offset);
    AppendLe32(&out, recipe.infoSize);
    if (recipe.infoSize == 12) {
        AppendLe16(&out, static_cast<uint16_t>(recipe.width));
        AppendLe16(&out, static_cast<uint16_t>(recipe.height));
        AppendLe16(&out, 1);
        AppendLe16(&out, recipe.bits);
    } else {
        AppendLe32(&out, static_cast<uint32_t>(recipe.width));
        AppendLe32(&out, static_cast<uint32_t>(recipe.height));
        AppendLe16(&out, 1);
        AppendLe16(&out, recipe.bits);
        AppendLe32(&out, recipe.compression);
        AppendLe32(&out, static_cast<uint32_t>(recipe.area.size()));
        AppendLe32(&out, 2835);
        AppendLe32(&out, 2835);
        AppendLe32(&out, static_cast<uint32_t>(recipe.palette.size()));
        AppendLe32(&out, 0);
        if (recipe.infoSize == kV4 || recipe.infoSize == kV5) AppendNewerHeaderFields(recipe, &out);
        out.resize(14 + recipe.infoSize, 0);
    }
    for (const Rgb& c : recipe.palette) {
        out.insert(out.end(), {c[2], c[1], c[0]});
        if (entrySize == 4) out.push_back(0);
    }
    out.insert(out.end(), recipe.area.begin(), recipe.area.end());
    return out;
}

class BmpDecoderTest : public ::testing::Test {
  protected:
    void TearDown() override { ReleaseDecodedImage(&image); }

    bool Decode(const std::vector<uint8_t>& file, int32_t key = kNoColourKey) {
        const std::string path = scratch / "picture.bmp";
        WriteBytes(path, file);
        return DecodeBmp(&image, path.c_str(), key);
    }
    Rgba Pixel(int x, int y) const {
        const uint8_t* p = image.pixels + (static_cast<size_t>(y) * image.width + x) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
    void ExpectPixels(const std::vector<Rgba>& expected) {
        ASSERT_EQ(static_cast<size_t>(image.width) * image.height, expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const int x = static_cast<int>(i % image.width), y = static_cast<int>(i / image.width);
            EXPECT_EQ(Pixel(x, y), expected[i]) << "pixel " << x << "," << y;
        }
    }

    ScratchFolder scratch;
    DecodedImage image;
};

const Rgba kRed = {255, 0, 0, 255}, kGreen = {0, 255, 0, 255}, kBlue = {0, 0, 255, 255},
           kWhite = {255, 255, 255, 255}, kBlack = {0, 0, 0, 255}, kGrey = {128, 128, 128, 255},
           kMagenta = {255, 0, 255, 255}, kClear = {0, 0, 0, 0};

TEST_F(BmpDecoderTest, TwentyFourBitRowsArePaddedAndStoredBottomUp) {
    BmpRecipe recipe;
    recipe.width = 3, recipe.height = 2, recipe.bits = 24;
    // Stored rows of 12 bytes (9 of pixels, 3 of padding), bottom row first.
    recipe.area = {
        0,   0,   255, 0, 255, 0, 255, 0,   0,   0xAA, 0xAA, 0xAA,   // bottom: red green blue
        255, 255, 255, 0, 0,   0, 128, 128, 128, 0xAA, 0xAA, 0xAA};  // top: white black grey
    for (uint32_t infoSize : {40u, 12u}) {
        recipe.infoSize = infoSize;
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.height, 2);
        ExpectPixels({kWhite, kBlack, kGrey, kRed, kGreen, kBlue});
    }
}

TEST_F(BmpDecoderTest, ThirtyTwoBitRowsHaveNoPaddingAndIgnoreTheFourthByte) {
    BmpRecipe recipe;
    recipe.width = 3, recipe.height = 1, recipe.bits = 32;
    recipe.area = {0, 0, 255, 7, 0, 255, 0, 0, 255, 0, 0, 200};
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    ExpectPixels({kRed, kGreen, kBlue});
    recipe.compression = 3;  // bit fields: the same plain pixels
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    ExpectPixels({kRed, kGreen, kBlue});
}

TEST_F(BmpDecoderTest, OneBitTakesBitsFromTheTopDownWithEitherHeader) {
    BmpRecipe recipe;
    recipe.width = 8, recipe.height = 1, recipe.bits = 1;
    recipe.palette = {{0, 0, 0}, {255, 255, 255}};
    recipe.area = {0xB1, 0, 0, 0};  // 1011 0001, then the row's padding to 4 bytes
    for (uint32_t infoSize : {40u, 12u}) {
        recipe.infoSize = infoSize;
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kWhite, kBlack, kWhite, kWhite, kBlack, kBlack, kBlack, kWhite});
    }
}

TEST_F(BmpDecoderTest, FourBitTakesTheHighNibbleFirstWithEitherHeader) {
    BmpRecipe recipe;
    recipe.width = 3, recipe.height = 2, recipe.bits = 4;
    recipe.palette.assign(16, Rgb{0, 0, 0});
    recipe.palette[1] = {255, 0, 0};
    recipe.palette[2] = {0, 255, 0};
    recipe.palette[15] = {0, 0, 255};
    recipe.area = {0x12, 0xF0, 0, 0,   // bottom row: 1 2 15
                   0xF1, 0x20, 0, 0};  // top row: 15 1 2
    for (uint32_t infoSize : {40u, 12u}) {
        recipe.infoSize = infoSize;
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kBlue, kRed, kGreen, kRed, kGreen, kBlue});
    }
}

TEST_F(BmpDecoderTest, EightBitIndexesThePaletteWithEitherHeader) {
    BmpRecipe recipe;
    recipe.width = 2, recipe.height = 2, recipe.bits = 8;
    recipe.palette.assign(256, Rgb{0, 0, 0});
    recipe.palette[0] = {128, 128, 128};
    recipe.palette[7] = {255, 0, 0};
    recipe.palette[255] = {255, 255, 255};
    recipe.area = {7, 255, 0, 0, 0, 7, 0, 0};
    for (uint32_t infoSize : {40u, 12u}) {
        recipe.infoSize = infoSize;
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kGrey, kRed, kRed, kWhite});
    }
}

TEST_F(BmpDecoderTest, ShortPaletteLeavesMissingColoursBlack) {
    BmpRecipe recipe;
    recipe.width = 2, recipe.height = 1, recipe.bits = 8;
    recipe.palette = {{255, 0, 0}, {0, 255, 0}};
    recipe.area = {1, 200, 0, 0};
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    ExpectPixels({kGreen, kBlack});
}

// A negative height means the rows are stored top row first.
TEST_F(BmpDecoderTest, NegativeHeightTakesTheRowsTopDown) {
    BmpRecipe recipe;
    recipe.width = 1, recipe.height = -2, recipe.bits = 24;
    recipe.area = {0, 0, 255, 0, 0, 255, 0, 0};  // stored first: red, then green
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    EXPECT_EQ(image.height, 2);
    ExpectPixels({kRed, kGreen});
    recipe.height = 2;
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    ExpectPixels({kGreen, kRed});

    // Every depth and header: 3 x 3, rows top to bottom red, green, blue.
    for (uint32_t infoSize : {40u, kV4, kV5}) {
        recipe = BmpRecipe();
        recipe.infoSize = infoSize;
        recipe.width = 3, recipe.height = -3, recipe.bits = 32;
        for (const Rgba& c : {kRed, kGreen, kBlue})
            for (int x = 0; x < 3; ++x)
                recipe.area.insert(recipe.area.end(), {c[2], c[1], c[0], 0});
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kRed, kRed, kRed, kGreen, kGreen, kGreen, kBlue, kBlue, kBlue});
        recipe.bits = 4;
        recipe.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
        recipe.area = {0x00, 0x00, 0, 0, 0x11, 0x10, 0, 0, 0x22, 0x20, 0, 0};
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kRed, kRed, kRed, kGreen, kGreen, kGreen, kBlue, kBlue, kBlue});
    }
}

// GIMP writes a V5 header (ImageMagick a V4 or V5 one): 24 bits uncompressed,
// 32 bits with bit fields of plain blue, green, red, alpha bytes, and
// paletted pictures with the palette after the whole header.
TEST_F(BmpDecoderTest, NewerHeadersLoadAsTheirFirstFortyBytesSay) {
    for (uint32_t infoSize : {kV4, kV5}) {
        BmpRecipe recipe;
        recipe.infoSize = infoSize;
        recipe.width = 3, recipe.height = 2, recipe.bits = 24;
        recipe.area = {0,   0,   255, 0, 255, 0, 255, 0,   0,   0, 0, 0,   // bottom: red green blue
                       255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0, 0};  // top: white black grey
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kWhite, kBlack, kGrey, kRed, kGreen, kBlue});
        recipe.masks = {0, 0, 0, 0};  // uncompressed pixels need no masks
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kWhite, kBlack, kGrey, kRed, kGreen, kBlue});

        // 32 bits with bit fields; the fourth byte stays ignored, with an
        // alpha mask and without one.
        recipe.bits = 32, recipe.compression = 3;
        recipe.area = {
            0,   0,   255, 0, 0, 255, 0, 128, 255, 0,   0,   255,  // bottom: red green blue
            255, 255, 255, 7, 0, 0,   0, 255, 128, 128, 128, 0};   // top: white black grey
        for (uint32_t alphaMask : {0xFF000000u, 0u}) {
            recipe.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, alphaMask};
            ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
            ExpectPixels({kWhite, kBlack, kGrey, kRed, kGreen, kBlue});
        }
        recipe.compression = 0;
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kWhite, kBlack, kGrey, kRed, kGreen, kBlue});

        // The palette starts after the whole header, not after its first 40 bytes.
        recipe.bits = 8;
        recipe.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        recipe.area = {0, 1, 2, 0, 3, 3, 0, 0};
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kWhite, kWhite, kRed, kRed, kGreen, kBlue});
        recipe.bits = 1;
        recipe.palette = {{0, 0, 0}, {255, 255, 255}};
        recipe.area = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};
        ASSERT_TRUE(Decode(BuildBmp(recipe))) << infoSize;
        ExpectPixels({kBlack, kWhite, kBlack, kWhite, kBlack, kWhite});

        // The colour key applies as to any BMP.
        recipe.bits = 24;
        recipe.palette.clear();
        recipe.area = {255, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0};  // magenta, red, black
        recipe.height = 1;
        ASSERT_TRUE(Decode(BuildBmp(recipe), 16711935)) << infoSize;
        ExpectPixels({kClear, kRed, kBlack});
    }
}

// Bit fields are only plain pixels when the masks say blue, green, red bytes:
// other masks, or bit fields on 24 bits, are refused rather than shown in the
// wrong colours. Packed variants stay refused.
TEST_F(BmpDecoderTest, NewerHeadersWithOtherMasksOrPackingFail) {
    for (uint32_t infoSize : {kV4, kV5}) {
        BmpRecipe recipe;
        recipe.infoSize = infoSize;
        recipe.width = 1, recipe.height = 1, recipe.bits = 32, recipe.compression = 3;
        recipe.area = {0, 0, 255, 0};
        ASSERT_TRUE(Decode(BuildBmp(recipe)));
        recipe.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};  // red, green, blue bytes
        EXPECT_FALSE(Decode(BuildBmp(recipe))) << infoSize;
        recipe.masks = {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF};
        EXPECT_FALSE(Decode(BuildBmp(recipe))) << infoSize;
        recipe.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
        recipe.bits = 24;
        EXPECT_FALSE(Decode(BuildBmp(recipe))) << infoSize;
        for (uint32_t compression : {1u, 2u, 4u, 5u, 6u}) {
            recipe.bits = 8, recipe.compression = compression;
            recipe.palette = {{1, 2, 3}};
            EXPECT_FALSE(Decode(BuildBmp(recipe))) << infoSize << " " << compression;
        }
    }
}

// Through the sprite loader's entry: a V5 file decodes as BMP, and one cut
// inside its header fails as BMP and as PNG.
TEST_F(BmpDecoderTest, NewerHeadersThroughDecodeImageFile) {
    BmpRecipe recipe;
    recipe.infoSize = kV5;
    recipe.width = 1, recipe.height = 1, recipe.bits = 24;
    recipe.area = {0, 255, 0, 0};
    const std::vector<uint8_t> file = BuildBmp(recipe);
    WriteBytes(scratch / "v5.bmp", file);
    ASSERT_TRUE(DecodeImageFile(&image, (scratch / "v5.bmp").c_str(), kNoColourKey));
    ExpectPixels({kGreen});
    WriteBytes(scratch / "cut.bmp", std::vector<uint8_t>(file.begin(), file.begin() + 100));
    EXPECT_FALSE(DecodeImageFile(&image, (scratch / "cut.bmp").c_str(), kNoColourKey));
}

TEST_F(BmpDecoderTest, ColourKeyMakesMatchingPixelsTransparentBlack) {
    BmpRecipe recipe;
    recipe.width = 2, recipe.height = 1, recipe.bits = 24;
    recipe.area = {255, 0, 255, 0, 0, 255, 0, 0};  // magenta, red
    ASSERT_TRUE(Decode(BuildBmp(recipe), 16711935));
    ExpectPixels({kClear, kRed});
    recipe.bits = 8;
    recipe.palette = {{255, 0, 255}, {0, 0, 255}};
    recipe.area = {0, 1, 0, 0};
    ASSERT_TRUE(Decode(BuildBmp(recipe), 16711935));
    ExpectPixels({kClear, kBlue});
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    ExpectPixels({kMagenta, kBlue});
}

TEST_F(BmpDecoderTest, UnsupportedKindsFail) {
    BmpRecipe recipe;
    recipe.width = 2, recipe.height = 1, recipe.bits = 16;
    recipe.area = {0, 0, 0, 0};
    EXPECT_FALSE(Decode(BuildBmp(recipe)));  // 16 bits
    recipe.bits = 8;
    recipe.area = {0, 0, 0, 0};
    EXPECT_FALSE(Decode(BuildBmp(recipe)));  // palette bits without a palette
    recipe.palette = {{1, 2, 3}};
    recipe.compression = 1;
    EXPECT_FALSE(Decode(BuildBmp(recipe)));  // run-length packed
    recipe.compression = 0;
    for (uint32_t infoSize : {64u, 56u, 52u, 16u}) {  // OS/2 2.x and other rare headers
        recipe.infoSize = infoSize;
        const std::vector<uint8_t> odd = BuildBmp(recipe);
        EXPECT_FALSE(Decode(odd)) << infoSize;
        WriteBytes(scratch / "odd.bmp", odd);
        EXPECT_FALSE(DecodeImageFile(&image, (scratch / "odd.bmp").c_str(), kNoColourKey));
    }
    EXPECT_FALSE(Decode(Bytes("PNG? no")));
    EXPECT_FALSE(DecodeBmp(&image, (scratch / "missing.bmp").c_str(), kNoColourKey));
}

TEST_F(BmpDecoderTest, TruncatedFilesFail) {
    BmpRecipe recipe;
    recipe.width = 3, recipe.height = 2, recipe.bits = 24;
    recipe.area.assign(24, 9);
    const std::vector<uint8_t> whole = BuildBmp(recipe);
    ASSERT_TRUE(Decode(whole));
    for (size_t cut :
         {whole.size() - 1, size_t{60}, size_t{54}, size_t{40}, size_t{14}, size_t{2}}) {
        EXPECT_FALSE(Decode(std::vector<uint8_t>(whole.begin(), whole.begin() + cut))) << cut;
    }
    recipe.bits = 8;
    recipe.infoSize = 12;
    recipe.palette.assign(256, Rgb{1, 2, 3});
    recipe.area.assign(8, 0);
    const std::vector<uint8_t> paletted = BuildBmp(recipe);
    ASSERT_TRUE(Decode(paletted));
    EXPECT_FALSE(Decode(std::vector<uint8_t>(paletted.begin(), paletted.begin() + 400)));
}

TEST_F(BmpDecoderTest, HeadersClaimingHugeSizesFailWithoutAllocating) {
    const std::vector<std::pair<int32_t, int32_t>> sizes = {{0x7FFFFFFF, 0x7FFFFFFF},
                                                            {0x7FFFFFFF, 1},
                                                            {1, 0x7FFFFFFF},
                                                            {65536, 65536},
                                                            {-5, 2},
                                                            {0, 3},
                                                            {3, 0},
                                                            {1, static_cast<int32_t>(0x80000000)}};
    for (auto [width, height] : sizes) {
        for (int bits : {1, 24, 32}) {
            BmpRecipe recipe;
            recipe.width = width, recipe.height = height, recipe.bits = bits;
            if (bits == 1) recipe.palette = {{0, 0, 0}, {255, 255, 255}};
            recipe.area.assign(64, 0);
            EXPECT_FALSE(Decode(BuildBmp(recipe))) << width << "x" << height << "x" << bits;
            EXPECT_EQ(image.capacity, 0);
        }
    }
}

TEST_F(BmpDecoderTest, PixelBlockIsReusedWhenLargeEnough) {
    BmpRecipe recipe;
    recipe.bits = 32;
    recipe.width = 4, recipe.height = 4;
    recipe.area.assign(64, 0x40);
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    EXPECT_EQ(image.capacity, 64);
    uint8_t* block = image.pixels;
    recipe.width = 2, recipe.height = 2;
    recipe.area.assign(16, 0x80);
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    EXPECT_EQ(image.pixels, block);
    EXPECT_EQ(image.capacity, 64);
    ExpectPixels(
        {{128, 128, 128, 255}, {128, 128, 128, 255}, {128, 128, 128, 255}, {128, 128, 128, 255}});
    recipe.width = 5, recipe.height = 4;
    recipe.area.assign(80, 0);
    ASSERT_TRUE(Decode(BuildBmp(recipe)));
    EXPECT_EQ(image.capacity, 80);
}

TEST_F(BmpDecoderTest, DecodeImageFileTakesBmpFirst) {
    BmpRecipe recipe;
    recipe.width = 1, recipe.height = 1, recipe.bits = 24;
    recipe.area = {0, 255, 0, 0};
    WriteBytes(scratch / "one.bmp", BuildBmp(recipe));
    ASSERT_TRUE(DecodeImageFile(&image, (scratch / "one.bmp").c_str(), kNoColourKey));
    ExpectPixels({kGreen});
    // Paths may be written with backslashes.
    std::string windowsStyle = scratch / "one.bmp";
    windowsStyle[windowsStyle.rfind('/')] = '\\';
    EXPECT_TRUE(DecodeImageFile(&image, windowsStyle.c_str(), kNoColourKey));
}

TEST(BmpBytes, CoreHeaderOneBitWithPaletteRightBeforeThePixels) {
    // 14 + 12 + 2 × 3 = 32: the palette lies before the pixels, so it is read.
    const std::vector<uint8_t> file = {'B', 'M', 36, 0, 0,   0,   0, 0, 0,    0, 32, 0,
                                       0,   0,   12, 0, 0,   0,   2, 0, 1,    0, 1,  0,
                                       1,   0,   0,  0, 255, 255, 0, 0, 0x40, 0, 0,  0};
    DecodedImage image;
    ASSERT_TRUE(DecodeBmpBytes(&image, file.data(), file.size(), kNoColourKey));
    EXPECT_EQ(image.pixels[0], 255);  // index 0: red
    EXPECT_EQ(image.pixels[2], 0);
    EXPECT_EQ(image.pixels[4], 0);  // index 1: blue
    EXPECT_EQ(image.pixels[6], 255);
    ReleaseDecodedImage(&image);
}

}  // namespace
