// Replacing a settings file whole: the new contents go to a fresh file beside
// it, reach the disk, and only then take the old file's name, so a crash or a
// full disk leaves either the old file or the new one, never half of either.
#pragma once

#include <cstddef>
#include <string>

bool ReplaceFileContents(const char* path, const std::string& contents);

// Reads a whole file of at most `limit` bytes; false when it cannot be opened,
// is larger, or comes back short.
bool ReadWholeFile(const char* path, size_t limit, std::string* contents);
