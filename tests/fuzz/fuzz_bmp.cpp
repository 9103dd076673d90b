// Any bytes through the BMP decoder: it must fail cleanly or decode within
// bounds; and a picture with one of the 32-bit-size info headers decodes the
// same with the sign of its height turned, its rows in the other order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/files/BmpDecoder.h"
#include "runtime/files/LittleEndian.h"

namespace {

constexpr size_t kHeightField = 22;

// The same file with the height's sign turned; false where there is none to
// turn, or where pixels said to start inside the height would change with it.
bool TurnHeight(const uint8_t* data, size_t size, std::vector<uint8_t>* turned) {
    if (size < kHeightField + 4 || GetLe32(data + 10) < kHeightField + 4) return false;
    const uint32_t infoSize = GetLe32(data + 14);
    if (infoSize != 40 && infoSize != 108 && infoSize != 124) return false;
    const int32_t height = GetLe32Signed(data + kHeightField);
    if (height == INT32_MIN) return false;
    turned->assign(data, data + size);
    PutLe32(turned->data() + kHeightField, static_cast<uint32_t>(-height));
    return true;
}

bool RowsMirrored(const DecodedImage& a, const DecodedImage& b) {
    if (a.width != b.width || a.height != b.height) return false;
    const size_t row = static_cast<size_t>(a.width) * 4;
    for (int32_t r = 0; r < a.height; ++r) {
        if (std::memcmp(a.pixels + r * row, b.pixels + (a.height - 1 - r) * row, row) != 0)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static DecodedImage image, other;  // reused across inputs, as the runtime reuses them
    const int32_t key = size ? (data[size - 1] & 1 ? 16711935 : kNoColourKey) : kNoColourKey;
    const bool decoded = DecodeBmpBytes(&image, data, size, key);
    if (decoded) {
        volatile uint8_t last =
            image.pixels[static_cast<size_t>(image.width) * image.height * 4 - 1];
        (void)last;
    }
    std::vector<uint8_t> turned;
    if (TurnHeight(data, size, &turned)) {
        const bool decodedTurned = DecodeBmpBytes(&other, turned.data(), turned.size(), key);
        if (decodedTurned != decoded || (decoded && !RowsMirrored(image, other))) abort();
    }
    if (image.capacity > (1 << 24)) ReleaseDecodedImage(&image);
    if (other.capacity > (1 << 24)) ReleaseDecodedImage(&other);
    return 0;
}
