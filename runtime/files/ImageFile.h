// Pictures as the runtime holds them after loading: 8-bit red, green, blue,
// alpha pixels, top row first. BMP and PNG files decode into this form.
#pragma once

#include <cstddef>
#include <cstdint>

struct DecodedImage {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t* pixels = nullptr;  // width × height × 4 bytes: red, green, blue, alpha
    int32_t capacity = 0;       // bytes in the pixel block, reused by the next decode
};

constexpr int32_t kNoColourKey = -1;  // colour keys are red + 256 green + 65536 blue
// Pictures beyond this many pixels (512 MiB of RGBA) are refused as damaged.
constexpr int64_t kMaxImagePixels = int64_t{1} << 27;

// Tries the file as BMP, then as PNG.
bool DecodeImageFile(DecodedImage* image, const char* path, int32_t colourKey);
// Frees the pixel block.
void ReleaseDecodedImage(DecodedImage* image);

// For the decoders: makes room for width × height pixels (reusing the block
// when it is large enough) and clears it; false for sizes out of bounds or
// when memory runs out.
bool PrepareImageBlock(DecodedImage* image, int64_t width, int64_t height);
// A pixel whose colour equals the key becomes transparent black.
inline void ApplyColourKey(uint8_t* pixel, int32_t colourKey) {
    if (colourKey < 0) return;
    const int32_t colour = pixel[0] + pixel[1] * 256 + pixel[2] * 65536;
    if (colour == colourKey) pixel[0] = pixel[1] = pixel[2] = pixel[3] = 0;
}
