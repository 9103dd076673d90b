// Pictures written as whole files in memory: 24-bit BMP, rows bottom-up, and
// 8-bit RGBA PNG through libpng. Where the bytes go is the caller's business.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// The info header fields that BMP writers fill in differently; readers ignore them.
struct BmpInfoFields {
    uint32_t pixelsPerMetre = 0;   // both directions
    bool statesImageSize = false;  // else the pixel area's size is left 0, as BMP allows
};
// Fills one stored row with `width` blue, green, red triples; row 0 is the picture's bottom.
using BmpRowFiller = std::function<void(int row, uint8_t* blueGreenRed)>;

// A whole 24-bit BMP of width × height pixels (positive both), padding bytes 0.
std::vector<uint8_t> EncodeBmp24(int width, int height, const BmpInfoFields& fields,
                                 const BmpRowFiller& fillRow);

enum class PngSampleOrder { RedGreenBlueAlpha, BlueGreenRedAlpha };
constexpr int kPngDefaultCompression = -1;  // libpng's own level

// A whole 8-bit RGBA PNG of width × height pixels, given top row first, four
// bytes a pixel in `order`; the compression level is zlib's 0..9. False when
// libpng refuses.
bool EncodePngBytes(std::vector<uint8_t>* file, const uint8_t* pixels, int width, int height,
                    PngSampleOrder order, int compressionLevel = kPngDefaultCompression);
