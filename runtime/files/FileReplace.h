// Replacing a settings file whole: the new contents go to a fresh file beside
// it, reach the disk, and only then take the old file's name, so a crash or a
// full disk leaves either the old file or the new one, never half of either.
#pragma once

#include <cstddef>
#include <string>

// The fresh file has a short name of its own, so a file whose name is as long
// as the system allows can be replaced too, and takes the old file's
// permission bits (and owner and group where the process may give them).
// False when the old file could not be replaced; `failure` then says why.
bool ReplaceFileContents(const char* path, const std::string& contents,
                         std::string* failure = nullptr);

enum class WholeFile {
    Read,        // every byte is in the contents
    Missing,     // nothing exists at that name
    Unreadable,  // something exists there but could not be read whole
};

// Reads a whole file however large, in steps, to its end. A file that is
// Unreadable (no permission, a folder, a read error, no memory for it) must
// never be replaced by what a caller made without it.
WholeFile ReadWholeFile(const char* path, std::string* contents);
