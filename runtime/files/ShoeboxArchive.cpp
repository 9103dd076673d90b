#include "runtime/files/ShoeboxArchive.h"

#include <lzo/lzo1x.h>

#include <cstdlib>
#include <cstring>

#include "runtime/files/LittleEndian.h"

namespace {

bool LzoReady() {
    static const bool ready = lzo_init() == LZO_E_OK;
    return ready;
}

// LZO1X spends at least one stored byte per 255 bytes it writes.
bool UnpackedSizePlausible(uint32_t unpacked, uint32_t packed) {
    if (unpacked > kShoeboxMaxMemberSize) return false;
    return static_cast<uint64_t>(unpacked) <= static_cast<uint64_t>(packed) * 256 + 4096;
}

}  // namespace

bool ShoeboxDirectory::Open(platform::FileHandle archive) {
    archive_ = archive;
    used_ = filled_ = 0;
    fileSize_ = platform::FileSize(archive);
    if (fileSize_ < kShoeboxTrailerSize) return false;
    uint8_t trailer[kShoeboxTrailerSize];
    if (platform::SeekFile(archive, -kShoeboxTrailerSize, 2) < 0) return false;
    if (platform::ReadFile(archive, trailer, sizeof trailer) != kShoeboxTrailerSize) return false;
    if (std::memcmp(trailer, "sbX", 3) != 0) return false;
    const int32_t offset = GetLe32Signed(trailer + 3);
    fromEnd_ = offset < 0;
    const long long position = fromEnd_ ? fileSize_ + offset : offset;
    if (position < 0 || position > fileSize_) return false;
    return platform::SeekFile(archive, position, 0) == position;
}

bool ShoeboxDirectory::Take(uint8_t* out, size_t bytes) {
    while (bytes > 0) {
        if (used_ == filled_) {
            const long long got = platform::ReadFile(archive_, buffer_, sizeof buffer_);
            if (got <= 0) return false;
            used_ = 0;
            filled_ = static_cast<size_t>(got);
        }
        const size_t step = bytes < filled_ - used_ ? bytes : filled_ - used_;
        std::memcpy(out, buffer_ + used_, step);
        used_ += step;
        out += step;
        bytes -= step;
    }
    return true;
}

bool ShoeboxDirectory::Next(ShoeboxEntry* entry) {
    uint8_t length = 0;
    if (!Take(&length, 1) || length == 0) return false;
    if (!Take(reinterpret_cast<uint8_t*>(entry->name), length)) return false;
    entry->name[length] = 0;
    entry->nameLength = length;
    uint8_t fields[8];
    if (!Take(fields, sizeof fields)) return false;
    entry->dataOffset = GetLe32Signed(fields);
    entry->storedSize = GetLe32(fields + 4);
    return true;
}

long long ShoeboxDirectory::DataPosition(const ShoeboxEntry& entry) const {
    const long long position = fromEnd_ ? fileSize_ + entry.dataOffset : entry.dataOffset;
    return position < 0 || position > fileSize_ ? -1 : position;
}

bool ShoeboxNameSafe(const char* name, size_t length) {
    if (length == 0 || length > 255) return false;
    if ((length == 1 && name[0] == '.') || (length == 2 && name[0] == '.' && name[1] == '.'))
        return false;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 32 || c == 127 || c == '/' || c == '\\' || c == ':') return false;
    }
    return true;
}

bool ShoeboxNamesEqual(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

uint8_t* UnpackShoeboxMember(platform::FileHandle archive, const ShoeboxDirectory& directory,
                             const ShoeboxEntry& entry, uint32_t* unpackedSize) {
    *unpackedSize = 0;
    const long long position = directory.DataPosition(entry);
    if (position < 0 || entry.storedSize < 4 ||
        entry.storedSize > directory.FileSize() - position || !LzoReady())
        return nullptr;
    uint8_t* stored = static_cast<uint8_t*>(std::malloc(entry.storedSize));
    if (!stored) return nullptr;
    if (platform::SeekFile(archive, position, 0) != position ||
        platform::ReadFile(archive, stored, entry.storedSize) != entry.storedSize) {
        std::free(stored);
        return nullptr;
    }
    const uint32_t size = GetLe32(stored);
    const uint32_t packed = entry.storedSize - 4;
    uint8_t* bytes = UnpackedSizePlausible(size, packed)
                         ? static_cast<uint8_t*>(std::malloc(size ? size : 1))
                         : nullptr;
    if (bytes) {
        lzo_uint written = size;
        const int result = lzo1x_decompress_safe(stored + 4, packed, bytes, &written, nullptr);
        if (result != LZO_E_OK || written != size) {
            std::free(bytes);
            bytes = nullptr;
        }
    }
    std::free(stored);
    if (bytes) *unpackedSize = size;
    return bytes;
}
