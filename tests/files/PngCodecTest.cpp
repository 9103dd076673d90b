// PNG decoding of every colour type the runtime meets, written here with
// libpng itself, the two-line messages for what it refuses, and EncodePng
// read back with libpng.
#include <png.h>
#include <zlib.h>

#include <array>

#include "FilesTestSupport.h"
#include "runtime/files/ImageFile.h"
#include "runtime/files/PngCodec.h"

namespace {

using namespace filestest;
using Rgba = std::array<uint8_t, 4>;

struct PngRecipe {
    int width = 0, height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    std::vector<std::vector<uint8_t>> rows;  // in the file's own sample layout
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;  // a tRNS chunk for palette images
    bool greyKey = false;               // a tRNS chunk naming grey value `greyKeyValue`
    uint16_t greyKeyValue = 0;
    bool interlaced = false;
};

void WritePng(const std::string& path, const PngRecipe& recipe) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        ADD_FAILURE() << "libpng failed writing the test picture";
    } else {
        png_init_io(png, file);
        png_set_IHDR(png, info, recipe.width, recipe.height, recipe.depth, recipe.colourType,
                     recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (!recipe.palette.empty())
            png_set_PLTE(png, info, recipe.palette.data(), static_cast<int>(recipe.palette.size()));
        if (!recipe.paletteAlpha.empty())
            png_set_tRNS(png, info, recipe.paletteAlpha.data(),
                         static_cast<int>(recipe.paletteAlpha.size()), nullptr);
        if (recipe.greyKey) {
            png_color_16 key = {};
            key.gray = recipe.greyKeyValue;
            png_set_tRNS(png, info, nullptr, 0, &key);
        }
        png_write_info(png, info);
        std::vector<png_bytep> rows;
        for (const auto& row : recipe.rows) rows.push_back(const_cast<png_bytep>(row.data()));
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// An independent reader: libpng's simplified interface, straight to RGBA.
std::vector<uint8_t> ReadPngAsRgba(const std::string& path, int* width, int* height) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return pixels;
}

class PngCodecTest : public ::testing::Test {
  protected:
    void TearDown() override { ReleaseDecodedImage(&image); }

    bool Decode(const PngRecipe& recipe, int32_t key = kNoColourKey) {
        path = scratch / "picture.png";
        WritePng(path, recipe);
        return DecodePng(&image, path.c_str(), key);
    }
    void ExpectPixels(const std::vector<Rgba>& expected) {
        ASSERT_EQ(static_cast<size_t>(image.width) * image.height, expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const uint8_t* p = image.pixels + i * 4;
            EXPECT_EQ((Rgba{p[0], p[1], p[2], p[3]}), expected[i]) << "pixel " << i;
        }
    }

    ScratchFolder scratch;
    std::string path;
    DecodedImage image;
};

TEST_F(PngCodecTest, GreyBecomesOpaqueGreyAtEveryDepth) {
    PngRecipe recipe;
    recipe.width = 4, recipe.height = 1, recipe.colourType = PNG_COLOR_TYPE_GRAY;
    recipe.rows = {{0, 85, 170, 255}};
    ASSERT_TRUE(Decode(recipe));
    ExpectPixels({{0, 0, 0, 255}, {85, 85, 85, 255}, {170, 170, 170, 255}, {255, 255, 255, 255}});
    recipe.depth = 2;  // 0 1 2 3 scale to 0 85 170 255
    recipe.rows = {{0x1B}};
    ASSERT_TRUE(Decode(recipe));
    ExpectPixels({{0, 0, 0, 255}, {85, 85, 85, 255}, {170, 170, 170, 255}, {255, 255, 255, 255}});
    recipe.depth = 1;
    recipe.rows = {{0xA0}};
    ASSERT_TRUE(Decode(recipe));
    ExpectPixels({{255, 255, 255, 255}, {0, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}});
    recipe.depth = 16;  // the high byte of each sample survives
    recipe.rows = {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF, 0x00, 0x01}};
    ASSERT_TRUE(Decode(recipe));
    ExpectPixels(
        {{0x12, 0x12, 0x12, 255}, {0xAB, 0xAB, 0xAB, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}});
}

TEST_F(PngCodecTest, RgbGetsFullAlphaAndTheColourKey) {
    PngRecipe recipe;
    recipe.width = 2, recipe.height = 2;
    recipe.rows = {{255, 0, 255, 10, 20, 30}, {0, 0, 0, 255, 0, 255}};
    ASSERT_TRUE(Decode(recipe));
    ExpectPixels({{255, 0, 255, 255}, {10, 20, 30, 255}, {0, 0, 0, 255}, {255, 0, 255, 255}});
    ASSERT_TRUE(Decode(recipe, 16711935));
    ExpectPixels({{0, 0, 0, 0}, {10, 20, 30, 255}, {0, 0, 0, 255}, {0, 0, 0, 0}});
    ASSERT_TRUE(Decode(recipe, 30 * 65536 + 20 * 256 + 10));
    ExpectPixels({{255, 0, 255, 255}, {0, 0, 0, 0}, {0, 0, 0, 255}, {255, 0, 255, 255}});
}

TEST_F(PngCodecTest, SixteenBitRgbIsCutToEightBits) {
    PngRecipe recipe;
    recipe.width = 1, recipe.height = 1, recipe.depth = 16;
    recipe.rows = {{0xFE, 0x01, 0x80, 0xFF, 0x00, 0x7F}};
    ASSERT_TRUE(Decode(recipe));
    ExpectPixels({{0xFE, 0x80, 0x00, 255}});
}

TEST_F(PngCodecTest, RgbaKeepsItsAlphaAndIgnoresTheColourKey) {
    PngRecipe recipe;
    recipe.width = 2, recipe.height = 1, recipe.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    recipe.rows = {{255, 0, 255, 255, 1, 2, 3, 4}};
    ASSERT_TRUE(Decode(recipe, 16711935));
    ExpectPixels({{255, 0, 255, 255}, {1, 2, 3, 4}});
    recipe.depth = 16;
    recipe.rows = {{0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0x80, 0x00, 0x01, 0, 0x02, 0, 0x03, 0, 0x04, 0}};
    ASSERT_TRUE(Decode(recipe, 16711935));
    ExpectPixels({{255, 0, 255, 128}, {1, 2, 3, 4}});
}

TEST_F(PngCodecTest, PaletteExpandsWithAndWithoutTransparency) {
    PngRecipe recipe;
    recipe.width = 3, recipe.height = 1, recipe.colourType = PNG_COLOR_TYPE_PALETTE;
    recipe.palette = {{255, 0, 255}, {0, 128, 0}, {9, 8, 7}};
    recipe.rows = {{2, 0, 1}};
    ASSERT_TRUE(Decode(recipe, 16711935));  // no tRNS: three channels, the key applies
    ExpectPixels({{9, 8, 7, 255}, {0, 0, 0, 0}, {0, 128, 0, 255}});
    recipe.paletteAlpha = {255, 100};       // index 2 has no entry: opaque
    ASSERT_TRUE(Decode(recipe, 16711935));  // alpha per pixel, the key ignored
    ExpectPixels({{9, 8, 7, 255}, {255, 0, 255, 255}, {0, 128, 0, 100}});
    recipe.depth = 4;  // packed indices
    recipe.paletteAlpha.clear();
    recipe.rows = {{0x20, 0x10}};
    ASSERT_TRUE(Decode(recipe));
    ExpectPixels({{9, 8, 7, 255}, {255, 0, 255, 255}, {0, 128, 0, 255}});
}

TEST_F(PngCodecTest, InterlacedPicturesDecodeAlike) {
    PngRecipe recipe;
    recipe.width = 9, recipe.height = 9, recipe.interlaced = true;
    for (int y = 0; y < 9; ++y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < 9; ++x) row.insert(row.end(), {uint8_t(x * 20), uint8_t(y * 20), 7});
        recipe.rows.push_back(row);
    }
    ASSERT_TRUE(Decode(recipe));
    std::vector<Rgba> expected;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) expected.push_back({uint8_t(x * 20), uint8_t(y * 20), 7, 255});
    ExpectPixels(expected);
}

// Anti-aliased icons and fonts are often grey with alpha: each pixel comes
// out as grey, grey, grey, alpha, and the colour key does not apply.
TEST_F(PngCodecTest, GreyWithAlphaKeepsItsAlphaAtEveryDepth) {
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "not interlaced");
        PngRecipe recipe;
        recipe.width = 3, recipe.height = 2, recipe.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
        recipe.interlaced = interlaced;
        recipe.rows = {{50, 60, 0, 255, 255, 0}, {128, 128, 7, 1, 200, 100}};
        ASSERT_TRUE(Decode(recipe, 0));  // key: black, which grey pixels ignore
        ExpectPixels({{50, 50, 50, 60},
                      {0, 0, 0, 255},
                      {255, 255, 255, 0},
                      {128, 128, 128, 128},
                      {7, 7, 7, 1},
                      {200, 200, 200, 100}});
        recipe.depth = 16;  // the high byte of each sample survives
        recipe.rows = {{0x32, 0xFF, 0x3C, 0x01, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x80},
                       {0x80, 0, 0x80, 0, 7, 7, 1, 1, 0xC8, 0, 0x64, 0}};
        ASSERT_TRUE(Decode(recipe));
        ExpectPixels({{50, 50, 50, 60},
                      {0, 0, 0, 255},
                      {255, 255, 255, 0},
                      {128, 128, 128, 128},
                      {7, 7, 7, 1},
                      {200, 200, 200, 100}});
    }
}

// A transparency chunk on a grey picture names one grey value that is fully
// transparent; every other value is opaque.
TEST_F(PngCodecTest, GreyWithATransparentValueAtEveryDepth) {
    struct Case {
        int depth;
        uint16_t key;
        std::vector<uint8_t> row;    // four pixels
        std::vector<uint8_t> greys;  // what they scale to
        std::vector<uint8_t> alphas;
    };
    const std::vector<Case> cases = {
        {1, 1, {0x50}, {0, 255, 0, 255}, {255, 0, 255, 0}},
        {2, 2, {0x1B}, {0, 85, 170, 255}, {255, 255, 0, 255}},
        {4, 15, {0x0F, 0x8F}, {0, 255, 136, 255}, {255, 0, 255, 0}},
        {8, 85, {0, 85, 170, 255}, {0, 85, 170, 255}, {255, 0, 255, 255}},
        {16,
         0x1234,
         {0x12, 0x34, 0x12, 0x35, 0xAB, 0xCD, 0, 0},
         {0x12, 0x12, 0xAB, 0},
         {0, 255, 255, 255}},
    };
    for (bool interlaced : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE("depth " + std::to_string(c.depth) + (interlaced ? " interlaced" : ""));
            PngRecipe recipe;
            recipe.width = 4, recipe.height = 1, recipe.colourType = PNG_COLOR_TYPE_GRAY;
            recipe.depth = c.depth;
            recipe.interlaced = interlaced;
            recipe.rows = {c.row};
            recipe.greyKey = true;
            recipe.greyKeyValue = c.key;
            ASSERT_TRUE(Decode(recipe, kNoColourKey));
            std::vector<Rgba> expected;
            for (int i = 0; i < 4; ++i)
                expected.push_back({c.greys[i], c.greys[i], c.greys[i], c.alphas[i]});
            ExpectPixels(expected);
        }
    }
}

TEST_F(PngCodecTest, BrokenFilesFail) {
    PngRecipe recipe;
    recipe.width = 16, recipe.height = 16;
    recipe.rows.assign(16, NoiseBytes(48, 5));
    ASSERT_TRUE(Decode(recipe));
    const std::vector<uint8_t> whole = ReadBytes(path);
    for (size_t cut : {whole.size() - 13, whole.size() / 2, size_t{40}, size_t{8}, size_t{3}}) {
        WriteBytes(path, std::vector<uint8_t>(whole.begin(), whole.begin() + cut));
        EXPECT_FALSE(DecodePng(&image, path.c_str(), kNoColourKey)) << cut;
    }
    std::vector<uint8_t> damaged = whole;
    damaged[whole.size() / 2] ^= 0xFF;
    WriteBytes(path, damaged);
    EXPECT_FALSE(DecodePng(&image, path.c_str(), kNoColourKey));
    WriteText(path, "not a picture");
    EXPECT_FALSE(DecodePng(&image, path.c_str(), kNoColourKey));
    EXPECT_FALSE(DecodeImageFile(&image, path.c_str(), kNoColourKey));
    EXPECT_FALSE(DecodePng(&image, (scratch / "missing.png").c_str(), kNoColourKey));
}

TEST_F(PngCodecTest, HeaderClaimingAHugePictureFailsBeforeAllocating) {
    PngRecipe recipe;
    recipe.width = 1, recipe.height = 1;
    recipe.rows = {{1, 2, 3}};
    ASSERT_TRUE(Decode(recipe));
    std::vector<uint8_t> bytes = ReadBytes(path);
    // IHDR's width and height sit at bytes 16..23; its CRC at 29..32.
    const uint32_t huge = 60000;
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = static_cast<uint8_t>(huge >> (24 - 8 * i));
        bytes[20 + i] = static_cast<uint8_t>(huge >> (24 - 8 * i));
    }
    const uint32_t crc = static_cast<uint32_t>(crc32(crc32(0, nullptr, 0), bytes.data() + 12, 17));
    for (int i = 0; i < 4; ++i) bytes[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    const std::vector<uint8_t> lying = bytes;
    EXPECT_FALSE(DecodePngBytes(&image, lying.data(), lying.size(), kNoColourKey, "lying"));
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.capacity, 4);  // the block of the last good picture, untouched
}

TEST_F(PngCodecTest, DecodeImageFileFallsBackToPng) {
    PngRecipe recipe;
    recipe.width = 1, recipe.height = 1;
    recipe.rows = {{4, 5, 6}};
    WritePng(scratch / "p.bmp", recipe);  // the extension does not matter
    ASSERT_TRUE(DecodeImageFile(&image, (scratch / "p.bmp").c_str(), kNoColourKey));
    ExpectPixels({{4, 5, 6, 255}});
}

TEST_F(PngCodecTest, EncodePngWritesRgbaFromBlueGreenRedAlpha) {
    const int width = 3, height = 2;
    const std::vector<uint8_t> bgra = {0, 0, 255, 255, 0,  255, 0,  128, 255, 0,   0,  0,
                                       1, 2, 3,   4,   10, 20,  30, 40,  200, 100, 50, 25};
    const std::string out = scratch / "saved.png";
    WriteText(out, "an older file under the same name");
    ASSERT_TRUE(EncodePng(out.c_str(), bgra.data(), width, height));
    int w = 0, h = 0;
    const std::vector<uint8_t> rgba = ReadPngAsRgba(out, &w, &h);
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    const std::vector<uint8_t> expected = {255, 0, 0, 255, 0,  255, 0,  128, 0,  0,   255, 0,
                                           3,   2, 1, 4,   30, 20,  10, 40,  50, 100, 200, 25};
    EXPECT_EQ(rgba, expected);
    // And our own decoder reads it back the same.
    ASSERT_TRUE(DecodePng(&image, out.c_str(), 16711935));
    EXPECT_EQ(std::vector<uint8_t>(image.pixels, image.pixels + 24), expected);
}

TEST_F(PngCodecTest, EncodePngRoundTripsALargerPicture) {
    const int width = 123, height = 45;
    const std::vector<uint8_t> bgra = NoiseBytes(width * height * 4, 99);
    const std::string out = scratch / "noise.png";
    ASSERT_TRUE(EncodePng(out.c_str(), bgra.data(), width, height));
    ASSERT_TRUE(DecodePng(&image, out.c_str(), kNoColourKey));
    ASSERT_EQ(image.width, width);
    ASSERT_EQ(image.height, height);
    for (size_t i = 0; i < bgra.size(); i += 4) {
        ASSERT_EQ(image.pixels[i], bgra[i + 2]);
        ASSERT_EQ(image.pixels[i + 1], bgra[i + 1]);
        ASSERT_EQ(image.pixels[i + 2], bgra[i]);
        ASSERT_EQ(image.pixels[i + 3], bgra[i + 3]);
    }
}

TEST_F(PngCodecTest, EncodePngFailsCleanly) {
    const std::vector<uint8_t> pixel = {1, 2, 3, 4};
    EXPECT_FALSE(EncodePng((scratch / "no/such/folder.png").c_str(), pixel.data(), 1, 1));
    EXPECT_FALSE(EncodePng((scratch / "zero.png").c_str(), pixel.data(), 0, 1));
    EXPECT_FALSE(EncodePng((scratch / "null.png").c_str(), nullptr, 1, 1));
    EXPECT_FALSE(Exists(scratch / "zero.png"));
}

}  // namespace
