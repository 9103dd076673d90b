#include "runtime/files/ShoeboxPacker.h"

#include <lzo/lzo1x.h>

#include <cstring>

#include "runtime/files/LittleEndian.h"
#include "runtime/files/ShoeboxArchive.h"

namespace {

constexpr uint64_t kMaxArchiveSize = 0x7FFFFFFF;  // offsets are signed 32-bit

// One data block: unpacked size, then the LZO1X-1 stream.
bool AppendDataBlock(const std::vector<uint8_t>& bytes, std::vector<uint8_t>* out) {
    static std::vector<uint8_t> workMemory(LZO1X_1_MEM_COMPRESS);
    std::vector<uint8_t> packed(bytes.size() + bytes.size() / 16 + 64 + 3);
    lzo_uint packedSize = 0;
    if (lzo1x_1_compress(bytes.data(), bytes.size(), packed.data(), &packedSize,
                         workMemory.data()) != LZO_E_OK)
        return false;
    AppendLe32(out, static_cast<uint32_t>(bytes.size()));
    out->insert(out->end(), packed.begin(), packed.begin() + static_cast<long>(packedSize));
    return true;
}

}  // namespace

bool PackShoebox(const std::vector<ShoeboxMemberInput>& members, bool offsetsFromEnd,
                 std::vector<uint8_t>* archive, std::string* error) {
    if (lzo_init() != LZO_E_OK) {
        *error = "the LZO library does not start";
        return false;
    }
    archive->clear();
    std::vector<uint64_t> offsets, sizes;
    for (const ShoeboxMemberInput& member : members) {
        if (!ShoeboxNameSafe(member.name.c_str(), member.name.size())) {
            *error = "bad member name \"" + member.name + "\"";
            return false;
        }
        if (member.bytes.size() > kShoeboxMaxMemberSize) {
            *error = member.name + " is too large";
            return false;
        }
        offsets.push_back(archive->size());
        if (!AppendDataBlock(member.bytes, archive)) {
            *error = "cannot compress " + member.name;
            return false;
        }
        sizes.push_back(archive->size() - offsets.back());
        if (archive->size() > kMaxArchiveSize) {
            *error = "the archive grows beyond 2 GiB";
            return false;
        }
    }
    const uint64_t directoryStart = archive->size();
    uint64_t total = directoryStart + 1 + kShoeboxTrailerSize;
    for (const ShoeboxMemberInput& member : members) total += 1 + member.name.size() + 8;
    if (total > kMaxArchiveSize) {
        *error = "the archive grows beyond 2 GiB";
        return false;
    }
    // Offsets from the end are final positions minus the final size.
    auto offset = [&](uint64_t position) {
        return static_cast<uint32_t>(offsetsFromEnd ? static_cast<int64_t>(position) -
                                                          static_cast<int64_t>(total)
                                                    : static_cast<int64_t>(position));
    };
    for (size_t i = 0; i < members.size(); ++i) {
        archive->push_back(static_cast<uint8_t>(members[i].name.size()));
        archive->insert(archive->end(), members[i].name.begin(), members[i].name.end());
        AppendLe32(archive, offset(offsets[i]));
        AppendLe32(archive, static_cast<uint32_t>(sizes[i]));
    }
    archive->push_back(0);
    archive->insert(archive->end(), {'s', 'b', 'X'});
    AppendLe32(archive, offset(directoryStart));
    return true;
}
