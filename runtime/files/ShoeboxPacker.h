// The shoebox archive format, write side: used by the packing tool and the
// tests, never by a running game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ShoeboxMemberInput {
    std::string name;  // a file name without folders, 1..255 bytes
    std::vector<uint8_t> bytes;
};

// Builds a whole archive: data blocks, directory, trailer. With
// `offsetsFromEnd` every offset counts back from the end of the archive, the
// form that keeps working when the archive is appended to another file.
// False, with a reason in `error`, for a bad name or an archive too large.
bool PackShoebox(const std::vector<ShoeboxMemberInput>& members, bool offsetsFromEnd,
                 std::vector<uint8_t>* archive, std::string* error);
