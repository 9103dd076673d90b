// Any bytes through the PNG decoder: libpng's errors must come back as a
// failed decode, and nothing may be read or written out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "runtime/files/PngCodec.h"

// The decoder's two-line complaints go to standard output; libFuzzer reports
// on standard error, so the complaints are dropped.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static DecodedImage image;
    const int32_t key = size ? (data[size - 1] & 1 ? 16711935 : kNoColourKey) : kNoColourKey;
    if (DecodePngBytes(&image, data, size, key, "fuzz")) {
        volatile uint8_t last =
            image.pixels[static_cast<size_t>(image.width) * image.height * 4 - 1];
        (void)last;
    }
    if (image.capacity > (1 << 24)) ReleaseDecodedImage(&image);
    return 0;
}
