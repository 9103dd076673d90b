// INI files: one settings file at a time, held in memory as sections of key
// and value pairs; names and keys match without regard to ASCII letter case.
// A changed table is written back when another file is opened and when the
// program ends.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "runtime/values/RtString.h"

struct IniEntry {
    RtString key;
    RtString value;
};

struct IniSection {
    RtString name;  // "" for entries above the first section header
    std::vector<IniEntry> entries;
};

class IniTable {
  public:
    // Replaces the sections with those of the text: "[name]" starts a section,
    // "key=value" adds an entry, ";" starts a comment; lines without "=" and
    // blank lines are skipped; spaces and tabs around the parts are dropped.
    // A leading UTF-8 byte-order mark belongs to no line.
    void Load(const char* text, size_t size);
    // The first section of that name, then its first entry of that key; or null.
    const RtString* Find(const char* section, const char* key) const;
    void Put(const RtString& section, const RtString& key, const RtString& value);
    // "[name]" and "key=value" lines, each ending in "\r\n", after the
    // byte-order mark when the text loaded had one (or the first line begins
    // with its bytes).
    std::string Text() const;

    RtString fileName;
    std::vector<IniSection> sections;
    bool changed = false;
    bool byteOrderMark = false;
    bool unreadable = false;  // the file exists but could not be read: never written back
};

// Writes a changed table back to its file now.
void FlushIniFile();
