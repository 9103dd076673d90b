// Media name resolution: plain files first, then members of a packed archive
// (a shoebox), unpacked into a temporary file that lives until the next lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/values/RtString.h"

struct Shoebox {
    uint8_t enabled = 1;          // 0: only plain files are resolved
    char archivePath[1024] = {};  // empty: no archive
    char pendingFile[1024] = {};  // the last unpacked member, deleted on the next lookup
};

// Resolves `name` into `output` (capacity `outputSize`; may be the same buffer
// as `name`); 1 found, 0 not found with `output` empty.
int ShoeboxFind(Shoebox* shoebox, const char* name, char* output, size_t outputSize);
// The same resolution into a string, so a plain file resolves at any length
// the platform allows; false (and an empty path) when not found.
bool ShoeboxResolve(Shoebox* shoebox, const char* name, std::string* path);
// Points one instance at an archive (or a folder, which holds no archive).
void SetShoeboxPath(Shoebox* shoebox, const char* archivePath);
// Deletes the pending unpacked file and frees the instance.
void ReleaseShoebox(Shoebox* shoebox);
// The folder, private to this process (mode 0700), that unpacked members go
// to; made on demand. Empty when no such folder could be made.
const char* ShoeboxTempFolder();
