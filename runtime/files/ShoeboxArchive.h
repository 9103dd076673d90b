// The shoebox archive format, read side: member data blocks, a directory of
// (name length, name, data offset, stored size) entries ended by a zero
// length, and a 7-byte trailer "sbX" + directory offset. Negative offsets count
// back from the end of the file, so an archive still works appended to another.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/platform/Platform.h"

constexpr int kShoeboxTrailerSize = 7;
// Members claiming more than this, or more than LZO1X could ever expand their
// stored bytes to, are treated as damaged.
constexpr uint32_t kShoeboxMaxMemberSize = 1u << 30;

struct ShoeboxEntry {
    char name[256] = {};  // terminated; the archive stores no terminator
    size_t nameLength = 0;
    int32_t dataOffset = 0;
    uint32_t storedSize = 0;
};

// Walks an archive's directory through a buffer: one seek, a few large reads.
class ShoeboxDirectory {
  public:
    // Reads the trailer and moves to the directory; false when there is none.
    bool Open(platform::FileHandle archive);
    // The next entry; false at the end of the directory or on a short read.
    bool Next(ShoeboxEntry* entry);
    // Where an entry's data block begins in the file; -1 when outside it.
    long long DataPosition(const ShoeboxEntry& entry) const;
    long long FileSize() const { return fileSize_; }
    bool OffsetsFromEnd() const { return fromEnd_; }

  private:
    bool Take(uint8_t* out, size_t bytes);

    platform::FileHandle archive_ = platform::kNoFile;
    long long fileSize_ = 0;
    bool fromEnd_ = false;
    uint8_t buffer_[16384];
    size_t used_ = 0, filled_ = 0;
};

// A member name that can become part of a file name: no separators, no
// control bytes, not "." or "..".
bool ShoeboxNameSafe(const char* name, size_t length);
// ASCII letters compared without case, as the lookup matches names.
bool ShoeboxNamesEqual(const char* a, const char* b, size_t length);

// Reads and unpacks one member into a new block (free with std::free);
// null when the block is cut short, claims an absurd size or fails to unpack.
uint8_t* UnpackShoeboxMember(platform::FileHandle archive, const ShoeboxDirectory& directory,
                             const ShoeboxEntry& entry, uint32_t* unpackedSize);
