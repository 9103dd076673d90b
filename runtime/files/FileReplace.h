// Replacing a settings file whole: the new contents go to a fresh file beside
// it, reach the disk, and only then take the old file's name, so a crash or a
// full disk leaves either the old file or the new one, never half of either.
#pragma once

#include <cstddef>
#include <string>

bool ReplaceFileContents(const char* path, const std::string& contents);

enum class WholeFile {
    Read,        // every byte is in the contents
    Missing,     // nothing exists at that name
    Unreadable,  // something exists there but could not be read whole
};

// Reads a whole file however large, in steps, to its end. A file that is
// Unreadable (no permission, a folder, a read error, no memory for it) must
// never be replaced by what a caller made without it.
WholeFile ReadWholeFile(const char* path, std::string* contents);
