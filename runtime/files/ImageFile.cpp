#include "runtime/files/ImageFile.h"

#include <cstdlib>
#include <cstring>

#include "runtime/files/BmpDecoder.h"
#include "runtime/files/PngCodec.h"
#include "runtime/platform/Platform.h"

namespace {

// Pictures up to this size are read whole, in one read, and decoded from
// memory: read as it decodes, a PNG costs the file system a call for every
// chunk, and a browser page's file system makes each call dear. A larger
// file is read as it decodes, so that it is never in memory twice.
constexpr long long kReadWholeUpTo = 16ll << 20;

// The file's bytes (malloc'd, null for an empty file); false when it cannot
// be opened, or is too large or unreadable to take whole.
bool ReadWhole(const char* path, uint8_t** bytes, long long* size, bool* opened) {
    *bytes = nullptr;
    platform::FileHandle file = platform::OpenFile(path, platform::OpenMode::Read);
    *opened = file != platform::kNoFile;
    if (!*opened) return false;
    *size = platform::FileSize(file);
    bool read = *size >= 0 && *size <= kReadWholeUpTo;
    if (read && *size > 0) {
        *bytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(*size)));
        read = *bytes && platform::ReadFile(file, *bytes, static_cast<size_t>(*size)) == *size;
    }
    platform::CloseFile(file);
    if (!read) {
        std::free(*bytes);
        *bytes = nullptr;
    }
    return read;
}

}  // namespace

bool DecodeImageFile(DecodedImage* image, const char* path, int32_t colourKey) {
    uint8_t* bytes = nullptr;
    long long size = 0;
    bool opened = false;
    if (!ReadWhole(path, &bytes, &size, &opened)) {
        if (!opened) return false;
        return DecodeBmp(image, path, colourKey) || DecodePng(image, path, colourKey);
    }
    const size_t length = static_cast<size_t>(size);
    const bool decoded = DecodeBmpBytes(image, bytes, length, colourKey) ||
                         DecodePngBytes(image, bytes, length, colourKey, path);
    std::free(bytes);
    return decoded;
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
