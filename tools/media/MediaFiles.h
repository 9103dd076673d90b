// Writing the generated media: PNG through libpng (8-bit RGBA), 24-bit BMP and
// 16-bit PCM WAV by hand, little-endian, canonical headers.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "MediaImage.h"

namespace media {

inline bool WritePng(const std::string& path, const Image& img) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(img.Width()), png_uint_32(img.Height()), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(img.Width()) * 4);
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            const Rgba& p = img.At(x, y);
            row[size_t(x) * 4 + 0] = p.r;
            row[size_t(x) * 4 + 1] = p.g;
            row[size_t(x) * 4 + 2] = p.b;
            row[size_t(x) * 4 + 3] = p.a;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

inline void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Transparent pixels become the key colour, since BMP has no alpha here.
inline bool WriteBmp24(const std::string& path, const Image& img, Rgba key) {
    const uint32_t stride = (uint32_t(img.Width()) * 3 + 3) & ~3u;
    const uint32_t dataSize = stride * uint32_t(img.Height());
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, 54 + dataSize, 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, uint32_t(img.Width()), 4);
    PutLe(out, uint32_t(img.Height()), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);
    PutLe(out, dataSize, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = img.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < img.Width(); ++x) {
            const Rgba p = img.At(x, y).a == 0 ? key : img.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (uint32_t pad = uint32_t(img.Width()) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return WriteBytes(path, out);
}

constexpr int kSampleRate = 22050;

inline bool WriteWav(const std::string& path, const std::vector<int16_t>& samples) {
    const uint32_t dataSize = uint32_t(samples.size()) * 2;
    std::vector<uint8_t> out;
    for (char c : std::string("RIFF")) out.push_back(uint8_t(c));
    PutLe(out, 36 + dataSize, 4);
    for (char c : std::string("WAVEfmt ")) out.push_back(uint8_t(c));
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, kSampleRate, 4);
    PutLe(out, kSampleRate * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    for (char c : std::string("data")) out.push_back(uint8_t(c));
    PutLe(out, dataSize, 4);
    for (int16_t s : samples) PutLe(out, uint32_t(uint16_t(s)), 2);
    return WriteBytes(path, out);
}

}  // namespace media
