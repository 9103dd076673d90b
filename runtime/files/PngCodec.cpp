#include "runtime/files/PngCodec.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/files/ImageWriter.h"
#include "runtime/platform/Platform.h"

namespace {

// Where the compressed bytes come from, and what the decode has allocated
// (kept here, not in locals, so a libpng error can free it after its jump).
struct PngSource {
    platform::FileHandle file = platform::kNoFile;
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    long long totalSize = 0;
    uint8_t* rows = nullptr;
    png_bytep* rowPointers = nullptr;
};

[[noreturn]] void RaiseError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void IgnoreWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t bytes) {
    PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->data) {
        if (bytes > source->size - source->position) png_error(png, "short read");
        std::memcpy(out, source->data + source->position, bytes);
        source->position += bytes;
        return;
    }
    if (platform::ReadFile(source->file, out, bytes) != static_cast<long long>(bytes))
        png_error(png, "short read");
}

void AskForEightBitSamples(png_structp png, png_infop info) {
    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand(png);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparency) png_set_expand(png);
    // Grey with alpha (also grey whose transparency chunk expands to an alpha
    // channel) arrives as grey, grey, grey, alpha.
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA ||
        (colourType == PNG_COLOR_TYPE_GRAY && transparency))
        png_set_gray_to_rgb(png);
    if (depth == 16) png_set_strip_16(png);
    if (depth < 8) png_set_packing(png);
    png_read_update_info(png, info);
}

bool ResultSupported(png_structp png, png_infop info, const char* name) {
    const int colourType = png_get_color_type(png, info);
    const int channels = png_get_channels(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool typeKnown = (colourType == PNG_COLOR_TYPE_GRAY && channels == 1) ||
                           (colourType == PNG_COLOR_TYPE_RGB && channels == 3) ||
                           (colourType == PNG_COLOR_TYPE_RGB_ALPHA && channels == 4);
    if (!typeKnown) {
        std::printf("File %s has unsupported color type.\n", name);
        std::puts("Types GRAY, RGB and RGB_ALPHA are supported.");
        return false;
    }
    if (depth != 8) {
        std::printf("File %s has bit depth %d.\n", name, depth);
        std::puts("Only bit depth of 8 is supported.");
        return false;
    }
    return true;
}

// Deflate never packs more than 1032 bytes into one, so a header promising
// far more pixel bytes than the file could hold is a lie; refuse it before
// allocating for it.
bool SizePlausible(png_structp png, png_infop info, long long fileSize) {
    const int64_t width = png_get_image_width(png, info);
    const int64_t height = png_get_image_height(png, info);
    if (width <= 0 || height <= 0 || width * height > kMaxImagePixels) return false;
    const int64_t bitsPerPixel =
        int64_t{png_get_bit_depth(png, info)} * png_get_channels(png, info);
    const int64_t rawBytes = height * ((width * bitsPerPixel) / 8);
    return rawBytes <= fileSize * 1032 + (int64_t{1} << 20);
}

// The largest block libpng may take for one chunk: the file's size, or 16 MiB
// for the text and profile chunks that unpack to more than they hold.
png_alloc_size_t ChunkLimit(long long fileSize) {
    constexpr long long kUnpackedChunks = 16ll << 20;
    return static_cast<png_alloc_size_t>(fileSize > kUnpackedChunks ? fileSize : kUnpackedChunks);
}

void ConvertRows(const PngSource& source, int channels, size_t rowBytes, DecodedImage* image,
                 int32_t colourKey) {
    for (int32_t r = 0; r < image->height; ++r) {
        const uint8_t* in = source.rows + static_cast<size_t>(r) * rowBytes;
        uint8_t* out = image->pixels + static_cast<size_t>(r) * image->width * 4;
        for (int32_t x = 0; x < image->width; ++x, in += channels, out += 4) {
            if (channels == 1) {
                out[0] = out[1] = out[2] = in[0];
                out[3] = 255;
            } else {
                std::memcpy(out, in, 3);
                out[3] = channels == 4 ? in[3] : 255;
                if (channels == 3) ApplyColourKey(out, colourKey);
            }
        }
    }
}

void FreeRows(PngSource* source) {
    std::free(source->rows);
    std::free(source->rowPointers);
    source->rows = nullptr;
    source->rowPointers = nullptr;
}

// The decode itself, up to the rows in `source`, once the jump point for
// libpng's errors is set. It is a function of its own because under
// Emscripten every call made by the function that sets a jump point goes out
// through the page's JavaScript and back; made from here, they do not.
[[gnu::noinline]] void ReadRows(png_structp png, png_infop info, PngSource* source,
                                DecodedImage* image, const char* name, int* channels,
                                size_t* rowBytes) {
    png_set_read_fn(png, source, ReadBytes);
    // libpng reads an ancillary chunk whole into a block of the size its
    // header claims; a chunk cannot hold more than the file, so a header
    // claiming gigabytes in a tiny file is refused before that block.
    png_set_chunk_malloc_max(png, ChunkLimit(source->totalSize));
    // Text, profiles, suggested palettes and the like are skipped in small
    // reads instead of being read whole: no picture needs them, and reading
    // one whole meant a block of whatever size its header claimed.
    static constexpr png_byte kSkipped[] = "sPLT\0iCCP\0tEXt\0zTXt\0iTXt\0eXIf\0pCAL\0sCAL\0hIST";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkipped, sizeof(kSkipped) / 5);
    png_read_info(png, info);
    AskForEightBitSamples(png, info);
    if (!ResultSupported(png, info, name) || !SizePlausible(png, info, source->totalSize))
        png_longjmp(png, 1);
    const size_t height = png_get_image_height(png, info);
    *rowBytes = png_get_rowbytes(png, info);
    *channels = png_get_channels(png, info);
    source->rows = static_cast<uint8_t*>(std::malloc(height * *rowBytes));
    source->rowPointers = static_cast<png_bytep*>(std::malloc(height * sizeof(png_bytep)));
    if (!source->rows || !source->rowPointers) png_longjmp(png, 1);
    for (size_t r = 0; r < height; ++r) source->rowPointers[r] = source->rows + r * *rowBytes;
    png_read_image(png, source->rowPointers);
    png_read_end(png, nullptr);
    if (!PrepareImageBlock(image, png_get_image_width(png, info), height)) png_longjmp(png, 1);
}

// The decoded rows in `source`, or false. Kept apart from the conversion for
// the same reason.
[[gnu::noinline]] bool ReadImage(PngSource* source, DecodedImage* image, const char* name,
                                 int* channels, size_t* rowBytes) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        FreeRows(source);
        image->width = image->height = 0;
        return false;
    }
    ReadRows(png, info, source, image, name, channels, rowBytes);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool Decode(PngSource* source, DecodedImage* image, int32_t colourKey, const char* name) {
    int channels = 0;
    size_t rowBytes = 0;
    if (!ReadImage(source, image, name, &channels, &rowBytes)) return false;
    ConvertRows(*source, channels, rowBytes, image, colourKey);
    FreeRows(source);
    return true;
}

}  // namespace

bool DecodePngBytes(DecodedImage* image, const uint8_t* data, size_t size, int32_t colourKey,
                    const char* name) {
    PngSource source;
    source.data = data ? data : reinterpret_cast<const uint8_t*>("");
    source.size = data ? size : 0;
    source.totalSize = static_cast<long long>(source.size);
    return Decode(&source, image, colourKey, name ? name : "");
}

bool DecodePng(DecodedImage* image, const char* path, int32_t colourKey) {
    PngSource source;
    source.file = platform::OpenFile(path, platform::OpenMode::Read);
    if (source.file == platform::kNoFile) return false;
    source.totalSize = platform::FileSize(source.file);
    const bool decoded = Decode(&source, image, colourKey, path);
    platform::CloseFile(source.file);
    return decoded;
}

bool EncodePng(const char* path, const uint8_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0 || int64_t{width} * height > kMaxImagePixels)
        return false;
    platform::DeleteFile(path);
    std::vector<uint8_t> png;
    if (!EncodePngBytes(&png, pixels, width, height, PngSampleOrder::BlueGreenRedAlpha))
        return false;
    platform::FileHandle file = platform::OpenFile(path, platform::OpenMode::CreateAlways);
    if (file == platform::kNoFile) return false;
    const bool written =
        platform::WriteFile(file, png.data(), png.size()) == static_cast<long long>(png.size());
    platform::CloseFile(file);
    if (!written) platform::DeleteFile(path);
    return written;
}
