#include "MediaFiles.h"

#include <cstdio>

#include "runtime/files/ImageWriter.h"
#include "runtime/files/LittleEndian.h"

namespace media {

namespace {

constexpr int kBestCompression = 9;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots an inch

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> RgbaBytes(const Image& img) {
    std::vector<uint8_t> bytes;
    bytes.reserve(img.Pixels().size() * 4);
    for (const Rgba& p : img.Pixels()) bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
    return bytes;
}

// Stored rows, bottom-up, with transparent pixels in the key colour.
BmpRowFiller BmpRows(const Image& img, Rgba key) {
    return [&img, key](int row, uint8_t* out) {
        const int y = img.Height() - 1 - row;
        for (int x = 0; x < img.Width(); ++x, out += 3) {
            const Rgba p = img.At(x, y).a == 0 ? key : img.At(x, y);
            out[0] = p.b;
            out[1] = p.g;
            out[2] = p.r;
        }
    };
}

void AppendTag(std::vector<uint8_t>* out, const char* tag) {
    for (const char* c = tag; *c; ++c) out->push_back(uint8_t(*c));
}

}  // namespace

bool WritePng(const std::string& path, const Image& img) {
    std::vector<uint8_t> png;
    return EncodePngBytes(&png, RgbaBytes(img).data(), img.Width(), img.Height(),
                          PngSampleOrder::RedGreenBlueAlpha, kBestCompression) &&
           WriteBytes(path, png);
}

bool WriteBmp24(const std::string& path, const Image& img, Rgba key) {
    return WriteBytes(
        path, EncodeBmp24(img.Width(), img.Height(), {kPixelsPerMetre, true}, BmpRows(img, key)));
}

bool WriteWav(const std::string& path, const std::vector<int16_t>& samples) {
    const uint32_t dataSize = uint32_t(samples.size()) * 2;
    std::vector<uint8_t> out;
    AppendTag(&out, "RIFF");
    AppendLe32(&out, 36 + dataSize);
    AppendTag(&out, "WAVEfmt ");
    AppendLe32(&out, 16);
    AppendLe16(&out, 1);  // PCM
    AppendLe16(&out, 1);  // mono
    AppendLe32(&out, kSampleRate);
    AppendLe32(&out, kSampleRate * 2);
    AppendLe16(&out, 2);
    AppendLe16(&out, 16);
    AppendTag(&out, "data");
    AppendLe32(&out, dataSize);
    for (int16_t s : samples) AppendLe16(&out, uint16_t(s));
    return WriteBytes(path, out);
}

}  // namespace media
