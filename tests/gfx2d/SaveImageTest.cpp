// Saving the screen and sprites as PNG or BMP, read back with the decoders.
#include <cstdio>

#include "Gfx2dFixture.h"
#include "runtime/files/BmpDecoder.h"
#include "runtime/files/PngCodec.h"
#include "runtime/runtime.h"

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return bytes;
}

uint32_t DecodedPixel(const DecodedImage& image, int x, int y) {
    const uint8_t* p = image.pixels + (static_cast<size_t>(y) * image.width + x) * 4;
    return p[0] | p[1] << 8 | p[2] << 16;
}

int DecodedAlpha(const DecodedImage& image, int x, int y) {
    return image.pixels[(static_cast<size_t>(y) * image.width + x) * 4 + 3];
}

bool IsPng(const std::vector<uint8_t>& bytes) {
    return bytes.size() > 8 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
}
bool IsBmp(const std::vector<uint8_t>& bytes) {
    return bytes.size() > 54 && bytes[0] == 'B' && bytes[1] == 'M';
}

class SavedImages : public Gfx2d {
  protected:
    void DrawScene() {
        DrawRect(0, 0, 10, 10, kRed);
        DrawRect(310, 230, 10, 10, kGreen);
        SetAlphaMode(0);
        DrawRect(0, 230, 5, 10, kKey);
    }
};

}  // namespace

TEST_F(SavedImages, ScreenshotNamedPngInCapitalsIsAPng) {
    DrawScene();
    const std::string path = TestFile("shot.PNG");
    ASSERT_EQ(SaveScreen(RtString(path.c_str())), 1.0);
    ASSERT_TRUE(IsPng(FileBytes(path)));
    DecodedImage image;
    ASSERT_TRUE(DecodePng(&image, path.c_str(), kNoColourKey));
    EXPECT_EQ(image.width, 320);
    EXPECT_EQ(image.height, 240);
    EXPECT_EQ(DecodedPixel(image, 0, 0), kRed);
    EXPECT_EQ(DecodedAlpha(image, 0, 0), 255);
    EXPECT_EQ(DecodedPixel(image, 319, 239), kGreen);
    EXPECT_EQ(DecodedPixel(image, 100, 100), kBlack);
    // Pixels in the transparent colour are saved transparent.
    EXPECT_EQ(DecodedAlpha(image, 2, 235), 0);
    ReleaseDecodedImage(&image);
}

TEST_F(SavedImages, OtherNamesGiveTwentyFourBitBmps) {
    DrawScene();
    for (const char* name : {"shot.bmp", "shot", "shot.pn"}) {
        const std::string path = TestFile(name);
        ASSERT_EQ(SaveScreen(RtString(path.c_str())), 1.0) << name;
        const auto bytes = FileBytes(path);
        ASSERT_TRUE(IsBmp(bytes)) << name;
        EXPECT_EQ(bytes.size(), 54u + 960 * 240);
        EXPECT_EQ(bytes[28], 24);
        EXPECT_EQ(bytes[38] | bytes[39] << 8, 10000);  // pixels per metre
        DecodedImage image;
        ASSERT_TRUE(DecodeBmp(&image, path.c_str(), kNoColourKey));
        EXPECT_EQ(DecodedPixel(image, 0, 0), kRed);
        EXPECT_EQ(DecodedPixel(image, 319, 239), kGreen);
        EXPECT_EQ(DecodedPixel(image, 2, 235), kKey);
        ReleaseDecodedImage(&image);
    }
}

TEST_F(SavedImages, SavedSpriteHoldsItsPicturePart) {
    LoadQuadrants(3, 10);
    const std::string path = TestFile("sprite.png");
    ASSERT_EQ(SaveSprite(RtString(path.c_str()), 3), 1.0);
    DecodedImage image;
    ASSERT_TRUE(DecodePng(&image, path.c_str(), kNoColourKey));
    EXPECT_EQ(image.width, 10);
    EXPECT_EQ(image.height, 10);
    EXPECT_EQ(DecodedPixel(image, 0, 0), kRed);
    EXPECT_EQ(DecodedPixel(image, 9, 0), kGreen);
    EXPECT_EQ(DecodedPixel(image, 0, 9), kBlue);
    EXPECT_EQ(DecodedPixel(image, 9, 9), kWhite);
    ReleaseDecodedImage(&image);

    const std::string bmp = TestFile("sprite.bmp");
    ASSERT_EQ(SaveSprite(RtString(bmp.c_str()), 3), 1.0);
    ASSERT_TRUE(DecodeBmp(&image, bmp.c_str(), kNoColourKey));
    EXPECT_EQ(image.width, 10);
    EXPECT_EQ(DecodedPixel(image, 9, 0), kGreen);
    ReleaseDecodedImage(&image);
    EXPECT_EQ(FileBytes(bmp).size(), 54u + 32 * 10);  // rows of 30 bytes padded to 32
}

TEST_F(SavedImages, EmptySlotSavesNothing) {
    EXPECT_EQ(SaveSprite(RtString(TestFile("none.bmp").c_str()), 77), 0.0);
}
