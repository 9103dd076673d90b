// The UTF-8 byte-order mark (EF BB BF) that Windows editors put at the start
// of a text file: it belongs to no line of the file, and a file that had it
// is written back with it.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

inline constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
inline constexpr size_t kByteOrderMarkSize = 3;

inline bool StartsWithByteOrderMark(const char* text, size_t size) {
    return size >= kByteOrderMarkSize && std::memcmp(text, kByteOrderMark, kByteOrderMarkSize) == 0;
}

// The text a file is written back with: the mark goes first when the file
// had one, and also when the first line itself begins with those bytes,
// which the next load would otherwise take for the mark.
inline void PutByteOrderMark(bool fileHadOne, std::string* text) {
    if (fileHadOne || StartsWithByteOrderMark(text->data(), text->size()))
        text->insert(0, kByteOrderMark);
}
