// Shared by the 2D graphics tests: a started runtime with a black back
// buffer, pictures written as files by the tests themselves, and pixels read
// back from the frame buffer and from textures.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/files/ImageWriter.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/runtime.h"
#include "support/TestEngine.h"

// Colours as the runtime writes them: red + 256 green + 65536 blue.
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}
constexpr uint32_t kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255),
                   kWhite = Rgb(255, 255, 255), kBlack = 0, kKey = Rgb(255, 0, 128);

using PixelColour = std::function<uint32_t(int x, int y)>;  // (x, y) from the picture's top left

inline std::string TestFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// Writes a 24-bit BMP (rows bottom-up, padded to 4 bytes); returns its path.
inline std::string WriteBmp(const std::string& name, int width, int height,
                            const PixelColour& colour) {
    const std::vector<uint8_t> bytes =
        EncodeBmp24(width, height, BmpInfoFields{}, [&](int row, uint8_t* p) {
            for (int x = 0; x < width; ++x, p += 3) {
                const uint32_t c = colour(x, height - 1 - row);
                p[0] = c >> 16 & 255;
                p[1] = c >> 8 & 255;
                p[2] = c & 255;
            }
        });
    const std::string path = TestFile(name);
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

// A square picture in four quadrants: red top left, green top right, blue
// bottom left, white bottom right.
inline uint32_t Quadrants(int x, int y, int size) {
    const bool right = x >= size / 2, bottom = y >= size / 2;
    if (!bottom) return right ? kGreen : kRed;
    return right ? kWhite : kBlue;
}

// One pixel of the back buffer, (x, y) from the top left of the window.
inline uint32_t ScreenPixel(int x, int y) {
    FlushDrawing();
    uint8_t rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, gEngine.device->Height() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba[0] | rgba[1] << 8 | rgba[2] << 16;
}

// Level `level` of a texture as RGBA bytes, row 0 the bottom row.
inline std::vector<uint8_t> TextureTexels(uint32_t texture, int level, int* width = nullptr,
                                          int* height = nullptr) {
    FlushDrawing();
    GLint w = 0, h = 0;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
    std::vector<uint8_t> texels(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, bound);
    if (width) *width = w;
    if (height) *height = h;
    return texels;
}

// The back buffer black, after whatever the device had gathered.
inline void ClearBackBuffer() {
    FlushDrawing();
    glClear(GL_COLOR_BUFFER_BIT);
}

inline uint32_t TexelColour(const std::vector<uint8_t>& texels, int width, int x, int row) {
    const uint8_t* p = &texels[(static_cast<size_t>(row) * width + x) * 4];
    return p[0] | p[1] << 8 | p[2] << 16;
}

inline int TexelAlpha(const std::vector<uint8_t>& texels, int width, int x, int row) {
    return texels[(static_cast<size_t>(row) * width + x) * 4 + 3];
}

class Gfx2d : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartTestEngine());
        ClearBackBuffer();
    }
    OpenGLRainbows& Device() { return *gEngine.device; }
    const SpriteSlot& Slot(int slot) { return *gEngine.device->Sprite(slot); }

    // Loads a picture file into a slot and checks that it loaded.
    void Load(const std::string& path, int slot) {
        ASSERT_EQ(LoadSprite(RtString(path.c_str()), slot), 1.0) << path;
    }
    void LoadQuadrants(int slot, int size = 16) {
        Load(WriteBmp("quadrants" + std::to_string(size) + ".bmp", size, size,
                      [size](int x, int y) { return Quadrants(x, y, size); }),
             slot);
    }
    // Counts the pixels of a screen rectangle that are not black.
    int LitPixels(int left, int top, int width, int height) {
        int count = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x) count += ScreenPixel(x, y) != kBlack;
        return count;
    }
    // The box of non-black pixels in the window: left, top, right, bottom (inclusive).
    std::vector<int> LitBox() {
        FlushDrawing();
        std::vector<uint8_t> rgba(static_cast<size_t>(320) * 240 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 320, 240, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        int left = 1000, top = 1000, right = -1, bottom = -1;
        for (int row = 0; row < 240; ++row)
            for (int x = 0; x < 320; ++x) {
                const uint8_t* p = &rgba[(static_cast<size_t>(row) * 320 + x) * 4];
                if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
                const int y = 239 - row;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        return {left, top, right, bottom};
    }
};
