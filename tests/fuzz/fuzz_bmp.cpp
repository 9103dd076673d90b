// Any bytes through the BMP decoder: it must fail cleanly or decode within bounds.
#include <cstddef>
#include <cstdint>

#include "runtime/files/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static DecodedImage image;  // reused across inputs, as the runtime reuses it
    const int32_t key = size ? (data[size - 1] & 1 ? 16711935 : kNoColourKey) : kNoColourKey;
    if (DecodeBmpBytes(&image, data, size, key)) {
        volatile uint8_t last =
            image.pixels[static_cast<size_t>(image.width) * image.height * 4 - 1];
        (void)last;
    }
    if (image.capacity > (1 << 24)) ReleaseDecodedImage(&image);
    return 0;
}
