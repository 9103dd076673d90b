#include "runtime/files/ImageWriter.h"

#include <png.h>

#include <csetjmp>

#include "runtime/files/LittleEndian.h"

namespace {

constexpr uint32_t kBmpHeadersSize = 14 + 40;

// Three bytes a pixel, each row padded to a multiple of four.
size_t BmpRowBytes(int width) {
    return (3 * static_cast<size_t>(width) + 3) / 4 * 4;
}

void AppendBmpHeaders(std::vector<uint8_t>* out, int width, int height,
                      const BmpInfoFields& fields) {
    const uint32_t areaSize = static_cast<uint32_t>(BmpRowBytes(width)) * height;
    out->push_back('B');
    out->push_back('M');
    AppendLe32(out, kBmpHeadersSize + areaSize);
    AppendLe32(out, 0);
    AppendLe32(out, kBmpHeadersSize);
    AppendLe32(out, 40);
    AppendLe32(out, width);
    AppendLe32(out, height);
    AppendLe16(out, 1);  // planes
    AppendLe16(out, 24);
    AppendLe32(out, 0);  // uncompressed
    AppendLe32(out, fields.statesImageSize ? areaSize : 0);
    AppendLe32(out, fields.pixelsPerMetre);
    AppendLe32(out, fields.pixelsPerMetre);
    AppendLe32(out, 0);  // no palette
    AppendLe32(out, 0);
}

[[noreturn]] void RaiseError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void IgnoreWarning(png_structp, png_const_charp) {}

void AppendBytes(png_structp png, png_bytep in, png_size_t bytes) {
    std::vector<uint8_t>* file = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    file->insert(file->end(), in, in + bytes);
}

void FlushNothing(png_structp) {}

void WriteRows(png_structp png, const uint8_t* pixels, int width, int height) {
    for (int r = 0; r < height; ++r)
        png_write_row(png, pixels + static_cast<size_t>(r) * width * 4);
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(int width, int height, const BmpInfoFields& fields,
                                 const BmpRowFiller& fillRow) {
    const size_t rowBytes = BmpRowBytes(width);
    std::vector<uint8_t> file;
    file.reserve(kBmpHeadersSize + rowBytes * height);
    AppendBmpHeaders(&file, width, height, fields);
    for (int row = 0; row < height; ++row) {
        const size_t start = file.size();
        file.resize(start + rowBytes, 0);
        fillRow(row, file.data() + start);
    }
    return file;
}

bool EncodePngBytes(std::vector<uint8_t>* file, const uint8_t* pixels, int width, int height,
                    PngSampleOrder order, int compressionLevel) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, file, AppendBytes, FlushNothing);
    if (compressionLevel != kPngDefaultCompression)
        png_set_compression_level(png, compressionLevel);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (order == PngSampleOrder::BlueGreenRedAlpha) png_set_bgr(png);
    WriteRows(png, pixels, width, height);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
