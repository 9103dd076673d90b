#include "runtime/files/BmpDecoder.h"

#include <cstdlib>
#include <cstring>

#include "runtime/files/LittleEndian.h"
#include "runtime/platform/Platform.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr long long kMaxBmpFileSize = kMaxImagePixels * 4 + 65536;

// Info header sizes: the old 12-byte core header, the 40-byte one, and the
// 108- and 124-byte ones of today's editors (V4, V5), which begin with the
// 40-byte one and go on with colour masks, colour space and profile.
constexpr uint32_t kCoreHeader = 12, kInfoHeader = 40, kV4Header = 108, kV5Header = 124;
constexpr uint32_t kPlainPixels = 0, kBitFields = 3;

struct BmpHeader {
    uint32_t pixelOffset = 0;
    uint32_t infoSize = 0;
    int64_t width = 0;
    int64_t height = 0;
    int bits = 0;
    uint32_t compression = 0;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;  // V4 and V5 only
    bool topDown = false;                               // rows stored top row first
};

struct Palette {
    uint8_t rgb[256][3] = {};  // entries the file does not hold stay black
    bool present = false;
};

bool ReadInfoHeader(const uint8_t* data, size_t size, BmpHeader* header) {
    const uint8_t* info = data + kFileHeaderSize;
    if (header->infoSize == kCoreHeader) {
        if (size < kFileHeaderSize + kCoreHeader) return false;
        header->width = GetLe16(info + 4);
        header->height = GetLe16(info + 6);
        header->bits = GetLe16(info + 10);
        return true;
    }
    if (header->infoSize != kInfoHeader && header->infoSize != kV4Header &&
        header->infoSize != kV5Header)
        return false;
    if (size < kFileHeaderSize + header->infoSize) return false;
    header->width = GetLe32Signed(info + 4);
    header->height = GetLe32Signed(info + 8);
    header->bits = GetLe16(info + 14);
    header->compression = GetLe32(info + 16);
    if (header->infoSize > kInfoHeader) {
        header->redMask = GetLe32(info + 40);
        header->greenMask = GetLe32(info + 44);
        header->blueMask = GetLe32(info + 48);
    }
    return true;
}

// Run-length and other packed variants are not decoded. Bit fields in a
// 40-byte header have always been read as plain pixels; a V4 or V5 header
// holds its masks, and only those of plain blue, green, red bytes (what GIMP
// and ImageMagick write for 32 bits) are taken.
bool PlainPixels(const BmpHeader& header) {
    if (header.compression == kPlainPixels) return true;
    if (header.compression != kBitFields) return false;
    if (header.infoSize == kInfoHeader) return true;
    return header.bits == 32 && header.redMask == 0x00FF0000 && header.greenMask == 0x0000FF00 &&
           header.blueMask == 0x000000FF;
}

bool ReadHeader(const uint8_t* data, size_t size, BmpHeader* header) {
    if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') return false;
    header->pixelOffset = GetLe32(data + 10);
    header->infoSize = GetLe32(data + 14);
    if (!ReadInfoHeader(data, size, header)) return false;
    if (header->bits != 1 && header->bits != 4 && header->bits != 8 && header->bits != 24 &&
        header->bits != 32)
        return false;
    if (!PlainPixels(*header)) return false;
    // A negative height: the rows are stored top row first.
    header->topDown = header->height < 0;
    if (header->topDown) header->height = -header->height;
    return header->width > 0 && header->height > 0;
}

// The 12-byte header is followed by 2^bits entries of blue, green, red; the
// longer headers by entries of blue, green, red, unused up to the pixels.
bool ReadPalette(const uint8_t* data, size_t size, const BmpHeader& header, Palette* palette) {
    if (header.bits > 8) return true;
    const size_t headersEnd = kFileHeaderSize + header.infoSize;
    size_t count = 0, entrySize = 0;
    if (header.infoSize == kCoreHeader) {
        count = size_t{1} << header.bits;
        entrySize = 3;
        if (header.pixelOffset <= 54 && header.pixelOffset < headersEnd + count * 3) count = 0;
    } else if (header.pixelOffset > headersEnd) {
        count = (header.pixelOffset - headersEnd) / 4;
        entrySize = 4;
    }
    if (count > 256) count = 256;
    if (count == 0 || headersEnd + count * entrySize > size) return false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + headersEnd + i * entrySize;
        palette->rgb[i][0] = entry[2];
        palette->rgb[i][1] = entry[1];
        palette->rgb[i][2] = entry[0];
    }
    palette->present = true;
    return true;
}

int PixelIndex(const uint8_t* row, int64_t x, int bits) {
    if (bits == 8) return row[x];
    if (bits == 4) return (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

void DecodeRow(const uint8_t* row, const BmpHeader& header, const Palette& palette, uint8_t* out,
               int32_t colourKey) {
    const int bytesPerPixel = header.bits / 8;
    for (int64_t x = 0; x < header.width; ++x, out += 4) {
        if (header.bits <= 8) {
            std::memcpy(out, palette.rgb[PixelIndex(row, x, header.bits)], 3);
        } else {
            const uint8_t* pixel = row + x * bytesPerPixel;
            out[0] = pixel[2];
            out[1] = pixel[1];
            out[2] = pixel[0];
        }
        out[3] = 255;
        ApplyColourKey(out, colourKey);
    }
}

}  // namespace

bool DecodeBmpBytes(DecodedImage* image, const uint8_t* data, size_t size, int32_t colourKey) {
    BmpHeader header;
    Palette palette;
    if (!ReadHeader(data, size, &header) || !ReadPalette(data, size, header, &palette))
        return false;
    if (header.width > kMaxImagePixels || header.width * header.height > kMaxImagePixels)
        return false;
    const int64_t rowBytes = (header.width * header.bits + 31) / 32 * 4;
    // The whole pixel area must be in the file before anything is allocated.
    if (header.pixelOffset > size ||
        rowBytes * header.height > static_cast<int64_t>(size - header.pixelOffset))
        return false;
    if (!PrepareImageBlock(image, header.width, header.height)) return false;
    const uint8_t* area = data + header.pixelOffset;
    for (int64_t r = 0; r < header.height; ++r) {
        const uint8_t* stored = area + (header.topDown ? r : header.height - 1 - r) * rowBytes;
        DecodeRow(stored, header, palette, image->pixels + r * header.width * 4, colourKey);
    }
    return true;
}

bool DecodeBmp(DecodedImage* image, const char* path, int32_t colourKey) {
    platform::FileHandle file = platform::OpenFile(path, platform::OpenMode::Read);
    if (file == platform::kNoFile) return false;
    uint8_t magic[2];
    const long long size = platform::FileSize(file);
    if (size < 2 || size > kMaxBmpFileSize || platform::ReadFile(file, magic, 2) != 2 ||
        magic[0] != 'B' || magic[1] != 'M') {
        platform::CloseFile(file);
        return false;
    }
    uint8_t* data = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size)));
    bool read = data && platform::SeekFile(file, 0, 0) == 0 &&
                platform::ReadFile(file, data, static_cast<size_t>(size)) == size;
    platform::CloseFile(file);
    const bool decoded = read && DecodeBmpBytes(image, data, static_cast<size_t>(size), colourKey);
    std::free(data);
    return decoded;
}
