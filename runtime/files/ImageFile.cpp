#include "runtime/files/ImageFile.h"

#include <cstdlib>
#include <cstring>

#include "runtime/files/BmpDecoder.h"
#include "runtime/files/PngCodec.h"

bool DecodeImageFile(DecodedImage* image, const char* path, int32_t colourKey) {
    return DecodeBmp(image, path, colourKey) || DecodePng(image, path, colourKey);
}

void ReleaseDecodedImage(DecodedImage* image) {
    std::free(image->pixels);
    *image = DecodedImage();
}

bool PrepareImageBlock(DecodedImage* image, int64_t width, int64_t height) {
    image->width = image->height = 0;
    if (width <= 0 || height <= 0 || width > kMaxImagePixels || height > kMaxImagePixels ||
        width * height > kMaxImagePixels)
        return false;
    const int64_t bytes = width * height * 4;
    if (bytes > image->capacity) {
        std::free(image->pixels);
        image->capacity = 0;
        image->pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes)));
        if (!image->pixels) return false;
        image->capacity = static_cast<int32_t>(bytes);
    }
    std::memset(image->pixels, 0, static_cast<size_t>(bytes));
    image->width = static_cast<int32_t>(width);
    image->height = static_cast<int32_t>(height);
    return true;
}
