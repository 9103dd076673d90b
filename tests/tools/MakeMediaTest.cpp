// The media generator: every file the game loads is there, decodes with the
// runtime's own decoders at the sizes the game relies on, the portraits can be
// told apart where the game shows them, and two runs give the same bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/files/ImageFile.h"

namespace {

namespace fs = std::filesystem;

fs::path BuildDir() {
    const char* bin = std::getenv("QUORBEL_TEST_BIN");
    return bin ? fs::path(bin) : fs::current_path();
}

std::string PortraitName(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "vux/%02d.png", n);
    return name;
}

std::vector<std::string> MediaNames() {
    std::vector<std::string> names = {
        "back0.png",     "back1.png",    "back2.png",    "back3.png", "menu/back.png",
        "menu/icon.png", "smalfont.png", "smalfont.bmp", "blip.wav",  "cheer.wav"};
    for (int n = 0; n < 63; ++n) names.push_back(PortraitName(n));
    return names;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t* At(int x, int y) const {
        return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
    }
};

Picture Load(const fs::path& path, int32_t key = kNoColourKey) {
    DecodedImage image;
    Picture p;
    if (DecodeImageFile(&image, path.string().c_str(), key)) {
        p.width = image.width;
        p.height = image.height;
        p.rgba.assign(image.pixels, image.pixels + size_t(image.width) * size_t(image.height) * 4);
    }
    ReleaseDecodedImage(&image);
    return p;
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v * 256 + b[at + size_t(i)];
    return v;
}

// Share (per cent) of the pixels of a rectangle where two portraits clearly differ.
int DifferingShare(const Picture& a, const Picture& b, int x0, int y0, int w, int h) {
    int differ = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const uint8_t* p = a.At(x, y);
            const uint8_t* q = b.At(x, y);
            const int d = std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) +
                          (p[3] != q[3] ? 255 : 0);
            differ += d > 60;
        }
    return differ * 100 / (w * h);
}

class MakeMediaTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (int n = 0; n < 63; ++n) portraits_.push_back(Load(BuildDir() / PortraitName(n)));
    }
    static std::vector<Picture> portraits_;
};
std::vector<Picture> MakeMediaTest::portraits_;

TEST_F(MakeMediaTest, EveryMediaFileIsBesideTheProgram) {
    for (const std::string& name : MediaNames())
        EXPECT_TRUE(fs::is_regular_file(BuildDir() / name)) << name;
}

TEST_F(MakeMediaTest, PicturesDecodeAtTheSizesTheGameUses) {
    for (const char* name : {"back0.png", "back1.png", "back2.png", "back3.png", "menu/back.png"}) {
        const Picture p = Load(BuildDir() / name);
        EXPECT_EQ(p.width, 320) << name;
        EXPECT_EQ(p.height, 240) << name;
        EXPECT_EQ(p.At(160, 120)[3], 255) << name;  // backgrounds are opaque
    }
    const Picture icon = Load(BuildDir() / "menu/icon.png");
    EXPECT_EQ(icon.width, 48);
    EXPECT_EQ(icon.height, 48);
    for (const Picture& p : portraits_) {
        EXPECT_EQ(p.width, 64);
        EXPECT_EQ(p.height, 64);
    }
}

TEST_F(MakeMediaTest, PortraitsStandOnTransparentSurroundingsWithTheFaceUnderTheHitPoint) {
    for (int n = 0; n < 63; ++n) {
        const Picture& p = portraits_[size_t(n)];
        ASSERT_EQ(p.width, 64);
        EXPECT_EQ(p.At(0, 0)[3], 0) << n;
        EXPECT_EQ(p.At(63, 0)[3], 0) << n;
        EXPECT_EQ(p.At(0, 30)[3], 0) << n;
        EXPECT_EQ(p.At(63, 30)[3], 0) << n;
        // The hit test measures from (32, 18): a face is there and around it.
        for (int d = -8; d <= 8; d += 2) {
            EXPECT_EQ(p.At(32 + d, 18)[3], 255) << n;
            EXPECT_EQ(p.At(32, 18 + d)[3], 255) << n;
            EXPECT_EQ(p.At(32 + d / 2, 18 + d / 2)[3], 255) << n;
            EXPECT_EQ(p.At(32 - d / 2, 18 + d / 2)[3], 255) << n;
        }
        // Drawn with an alpha test and no blending: no half-transparent pixels.
        for (size_t i = 3; i < p.rgba.size(); i += 4)
            ASSERT_TRUE(p.rgba[i] == 0 || p.rgba[i] == 255) << n;
    }
}

TEST_F(MakeMediaTest, PortraitsDifferInTheBadgeAndInTheCrowd) {
    int worstBadge = 100, worstCrowd = 100, badgePair[2] = {0, 0}, crowdPair[2] = {0, 0};
    for (int i = 0; i < 63; ++i)
        for (int j = i + 1; j < 63; ++j) {
            // The badge shows columns 0..29, rows 17..48; in the crowd the
            // head (rows 0..33 around the hit point) shows over the row in front.
            const int badge =
                DifferingShare(portraits_[size_t(i)], portraits_[size_t(j)], 0, 17, 30, 32);
            const int crowd =
                DifferingShare(portraits_[size_t(i)], portraits_[size_t(j)], 16, 0, 30, 34);
            EXPECT_GE(badge, 12) << "badges of " << i << " and " << j;
            EXPECT_GE(crowd, 15) << "heads of " << i << " and " << j;
            if (badge < worstBadge) worstBadge = badge, badgePair[0] = i, badgePair[1] = j;
            if (crowd < worstCrowd) worstCrowd = crowd, crowdPair[0] = i, crowdPair[1] = j;
        }
    // The Easy board shows portraits 0..12 together: they differ even more.
    for (int i = 0; i < 13; ++i)
        for (int j = i + 1; j < 13; ++j) {
            EXPECT_GE(DifferingShare(portraits_[size_t(i)], portraits_[size_t(j)], 16, 0, 30, 34),
                      25)
                << i << " " << j;
        }
    std::printf("least differing share: badge %d%% (%d, %d), head %d%% (%d, %d)\n", worstBadge,
                badgePair[0], badgePair[1], worstCrowd, crowdPair[0], crowdPair[1]);
}

TEST_F(MakeMediaTest, FontPicturesHaveTheCellLayoutAndTheStarMark) {
    const Picture png = Load(BuildDir() / "smalfont.png");
    EXPECT_EQ(png.width, 128);  // 16 columns of 8 pixels
    EXPECT_EQ(png.height, 88);  // 8 rows of 11 pixels (codes 0..127)
    const Picture bmp = Load(BuildDir() / "smalfont.bmp", 0x8000FF);
    ASSERT_EQ(bmp.width, 128);
    ASSERT_EQ(bmp.height, 88);
    const std::vector<uint8_t> raw = ReadBytes(BuildDir() / "smalfont.bmp");
    ASSERT_GE(raw.size(), 54u);
    EXPECT_EQ(Le(raw, 28, 2), 24u);
    // Same glyphs, same transparency (the key colour in the BMP).
    for (int y = 0; y < 88; ++y)
        for (int x = 0; x < 128; ++x)
            ASSERT_EQ(png.At(x, y)[3] != 0, bmp.At(x, y)[3] != 0) << x << "," << y;
    // Codes below the space are empty; "A" and "$" are drawn; "$" is gold.
    auto lit = [&](int code) {
        int count = 0, gold = 0;
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint8_t* p = png.At((code % 16) * 8 + x, (code / 16) * 11 + y);
                count += p[3] != 0;
                gold += p[3] != 0 && p[0] > 200 && p[1] > 120 && p[2] < 80;
            }
        return std::make_pair(count, gold);
    };
    EXPECT_EQ(lit(1).first, 0);
    EXPECT_EQ(lit(' ').first, 0);
    EXPECT_GT(lit('A').first, 20);
    EXPECT_GT(lit('$').second, 8);
}

TEST_F(MakeMediaTest, SoundsAreShortPcmWavesWithCanonicalHeaders) {
    for (const char* name : {"blip.wav", "cheer.wav"}) {
        const std::vector<uint8_t> b = ReadBytes(BuildDir() / name);
        ASSERT_GT(b.size(), 44u) << name;
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
        EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
        EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(Le(b, 16, 4), 16u);
        EXPECT_EQ(Le(b, 20, 2), 1u);  // PCM
        const uint32_t channels = Le(b, 22, 2);
        EXPECT_TRUE(channels == 1 || channels == 2);
        EXPECT_EQ(Le(b, 24, 4), 22050u);
        EXPECT_EQ(Le(b, 28, 4), 22050u * channels * 2);
        EXPECT_EQ(Le(b, 32, 2), channels * 2);
        EXPECT_EQ(Le(b, 34, 2), 16u);
        EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
        EXPECT_EQ(Le(b, 40, 4), b.size() - 44);
        int peak = 0;
        for (size_t i = 44; i + 1 < b.size(); i += 2)
            peak = std::max(peak, std::abs(int(int16_t(Le(b, i, 2)))));
        EXPECT_GT(peak, 8000) << name;
    }
    const double blip = double(fs::file_size(BuildDir() / "blip.wav") - 44) / (22050 * 2);
    const double cheer = double(fs::file_size(BuildDir() / "cheer.wav") - 44) / (22050 * 2);
    EXPECT_LT(blip, 0.3);
    EXPECT_GE(cheer, 1.0);
    EXPECT_LE(cheer, 2.5);
}

TEST_F(MakeMediaTest, TwoRunsWriteTheSameBytes) {
    const fs::path tool = BuildDir() / "make_media";
    ASSERT_TRUE(fs::exists(tool));
    const fs::path scratch =
        fs::temp_directory_path() / ("quorbel_media_" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    for (const char* run : {"a", "b"}) {
        const std::string command =
            "\"" + tool.string() + "\" \"" + (scratch / run).string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    for (const std::string& name : MediaNames()) {
        const std::vector<uint8_t> a = ReadBytes(scratch / "a" / name);
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, ReadBytes(scratch / "b" / name)) << name;
        EXPECT_EQ(a, ReadBytes(BuildDir() / name)) << name;  // and the same as the build's copy
    }
    fs::remove_all(scratch);
}

}  // namespace
