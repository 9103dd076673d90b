// Saving the back buffer or a slot's picture as PNG or 24-bit BMP, the
// sprite transparent colour kept recognisable in either.

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/files/ImageWriter.h"
#include "runtime/files/PngCodec.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr uint8_t kTransparentRed = 255, kTransparentGreen = 0, kTransparentBlue = 128;

int Stride(int width) {
    return (3 * width + 3) / 4 * 4;
}

bool EndsInPng(const char* path) {
    const size_t length = std::strlen(path);
    if (length < 4) return false;
    const char* tail = path + length - 4;
    return tail[0] == '.' && std::tolower(static_cast<unsigned char>(tail[1])) == 'p' &&
           std::tolower(static_cast<unsigned char>(tail[2])) == 'n' &&
           std::tolower(static_cast<unsigned char>(tail[3])) == 'g';
}

// Pixel (x, y) of a bottom-up blue-green-red buffer, as red + 256 green + 65536 blue.
uint32_t ColourAt(const uint8_t* pixels, int bufferWidth, int x, int y) {
    const uint8_t* p = pixels + static_cast<size_t>(y) * Stride(bufferWidth) + x * 3;
    return p[2] | p[1] << 8 | p[0] << 16;
}

// The buffer's rows are bottom-up already, as BMP stores them.
std::vector<uint8_t> BmpBytes(const uint8_t* pixels, int width, int height, int bufferWidth,
                              uint32_t transparent) {
    return EncodeBmp24(width, height, BmpInfoFields{10000, false}, [&](int y, uint8_t* out) {
        for (int x = 0; x < width; ++x, out += 3) {
            const uint8_t* p = pixels + static_cast<size_t>(y) * Stride(bufferWidth) + x * 3;
            if (ColourAt(pixels, bufferWidth, x, y) == transparent) {
                out[0] = kTransparentBlue;
                out[1] = kTransparentGreen;
                out[2] = kTransparentRed;
            } else {
                std::memcpy(out, p, 3);
            }
        }
    });
}

bool WriteBmp(const char* path, const uint8_t* pixels, int width, int height, int bufferWidth,
              uint32_t transparent) {
    std::string name = path;
    for (char& c : name)
        if (c == '/') c = '\\';
    platform::DeleteFile(name.c_str());
    const std::vector<uint8_t> file = BmpBytes(pixels, width, height, bufferWidth, transparent);
    const platform::FileHandle handle =
        platform::OpenFile(name.c_str(), platform::OpenMode::CreateAlways);
    if (handle == platform::kNoFile) return false;
    const bool written = platform::WriteFile(handle, file.data(), file.size()) ==
                         static_cast<long long>(file.size());
    platform::CloseFile(handle);
    return written;
}

// Red, green and blue all take part in the comparison with the transparent
// colour, as they do for BMP output.
bool WritePng(const char* path, const uint8_t* pixels, int width, int height, int bufferWidth,
              uint32_t transparent) {
    const bool keyed = (transparent & 255) != 0 && transparent <= 0xFFFFFF;
    std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const int sourceRow = height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const uint8_t* p =
                pixels + static_cast<size_t>(sourceRow) * Stride(bufferWidth) + x * 3;
            uint8_t* q = &rows[(static_cast<size_t>(y) * width + x) * 4];
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
            q[3] = keyed && ColourAt(pixels, bufferWidth, x, sourceRow) == transparent ? 0 : 255;
        }
    }
    return EncodePng(path, rows.data(), width, height);
}

}  // namespace

bool OpenGLRainbows::SaveImage(const char* path, const uint8_t* pixels, int w, int h,
                               int bufferWidth, int bufferHeight) {
    if (w <= 0 || h <= 0 || w > bufferWidth || h > bufferHeight) return false;
    const uint32_t transparent = TransparentColourOnScreen();
    return EndsInPng(path) ? WritePng(path, pixels, w, h, bufferWidth, transparent)
                           : WriteBmp(path, pixels, w, h, bufferWidth, transparent);
}

bool OpenGLRainbows::SaveScreen(const char* path) {
    std::vector<uint8_t> pixels(static_cast<size_t>(Stride(width)) * height);
    backend.ReadPixelsBgr(width, height, pixels.data());
    return SaveImage(path, pixels.data(), width, height, width, height);
}

bool OpenGLRainbows::SaveSprite(const char* path, int slot) {
    if (!ValidSlot(slot)) return false;
    const SpriteSlot& record = spriteSlots[slot];
    if (!record.texture || record.width <= 0 || record.height <= 0) return false;
    const int w = record.textureWidth, h = record.textureHeight;
    std::vector<uint8_t> pixels(static_cast<size_t>(Stride(w)) * h);
    backend.ReadTextureBgr(record.texture, pixels.data());
    BindSprite(-1);
    return SaveImage(path, pixels.data(), record.width, record.height, w, h);
}

// ---------------------------------------------------------------- commands

double SaveScreen(const RtString& file) {
    return gEngine.device && gEngine.device->SaveScreen(file.CStr()) ? 1 : 0;
}

double SaveSprite(const RtString& file, double slot) {
    return gEngine.device && gEngine.device->SaveSprite(file.CStr(), TruncateInt32(slot)) ? 1 : 0;
}
