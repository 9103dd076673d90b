#include "runtime/files/IniFile.h"

#include <cstring>

#include "runtime/core/EngineState.h"
#include "runtime/files/ByteOrderMark.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/FileReplace.h"
#include "runtime/files/Shoebox.h"

namespace {

IniTable gIniTable;

bool SameName(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
        if (x == 0) return true;
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trimmed(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

IniSection* FindSection(std::vector<IniSection>& sections, const char* name) {
    for (IniSection& section : sections) {
        if (SameName(section.name.CStr(), name)) return &section;
    }
    return nullptr;
}

// A section header: the text between "[" and the last "]" (or the line's end).
std::string HeaderName(const std::string& line) {
    const size_t close = line.rfind(']');
    const size_t end = close == std::string::npos || close == 0 ? line.size() : close;
    return Trimmed(line.data() + 1, line.data() + end);
}

void LoadLine(const std::string& line, std::vector<IniSection>* sections) {
    if (line.empty() || line[0] == ';') return;
    if (line[0] == '[') {
        sections->emplace_back();
        sections->back().name = HeaderName(line).c_str();
        return;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return;
    const std::string key = Trimmed(line.data(), line.data() + equals);
    if (key.empty()) return;
    if (sections->empty()) sections->emplace_back();  // entries above any header
    IniEntry entry;
    entry.key = key.c_str();
    entry.value = Trimmed(line.data() + equals + 1, line.data() + line.size()).c_str();
    sections->back().entries.push_back(entry);
}

// The table's file: the plain file, at any length of its name; when there is
// none, a member of the media shoebox's archive. Written back under its own
// name all the same. A plain file that exists but cannot be read is never
// passed over for an archive member, whose values would then replace it.
WholeFile LoadTableFile(const RtString& fileName, std::string* contents) {
    const WholeFile plain = ReadWholeFile(fileName.CStr(), contents);
    if (plain != WholeFile::Missing || !gEngine.mediaShoebox) return plain;
    std::string member;
    if (!ShoeboxResolve(gEngine.mediaShoebox, fileName.CStr(), &member)) return WholeFile::Missing;
    return ReadWholeFile(member.c_str(), contents);
}

}  // namespace

void IniTable::Load(const char* text, size_t size) {
    sections.clear();
    const char* end = text + size;
    byteOrderMark = StartsWithByteOrderMark(text, size);
    if (byteOrderMark) text += kByteOrderMarkSize;
    while (text < end) {
        const char* newline = static_cast<const char*>(std::memchr(text, '\n', end - text));
        const char* lineEnd = newline ? newline : end;
        // A text value ends at its first NUL, so the line does as well.
        const char* nul = static_cast<const char*>(std::memchr(text, 0, lineEnd - text));
        LoadLine(Trimmed(text, nul ? nul : lineEnd), &sections);
        text = newline ? newline + 1 : end;
    }
}

const RtString* IniTable::Find(const char* section, const char* key) const {
    for (const IniSection& candidate : sections) {
        if (!SameName(candidate.name.CStr(), section)) continue;
        for (const IniEntry& entry : candidate.entries) {
            if (SameName(entry.key.CStr(), key)) return &entry.value;
        }
        return nullptr;  // only the first section of a name counts
    }
    return nullptr;
}

void IniTable::Put(const RtString& section, const RtString& key, const RtString& value) {
    IniSection* target = FindSection(sections, section.CStr());
    if (!target) {
        sections.emplace_back();
        target = &sections.back();
        target->name = section;
    }
    changed = true;
    for (IniEntry& entry : target->entries) {
        if (SameName(entry.key.CStr(), key.CStr())) {
            entry.value = value;
            return;
        }
    }
    IniEntry entry;
    entry.key = key;
    entry.value = value;
    target->entries.push_back(entry);
}

std::string IniTable::Text() const {
    std::string text;
    for (size_t i = 0; i < sections.size(); ++i) {
        const IniSection& section = sections[i];
        // Entries above the first header go back above it, without one.
        if (i > 0 || section.name.Length() > 0 || section.entries.empty())
            text += std::string("[") + section.name.CStr() + "]\r\n";
        for (const IniEntry& entry : section.entries)
            text += std::string(entry.key.CStr()) + "=" + entry.value.CStr() + "\r\n";
    }
    PutByteOrderMark(byteOrderMark, &text);
    return text;
}

void IniOpen(const RtString& fileName) {
    FlushIniFile();
    gIniTable.fileName = fileName;
    gIniTable.changed = false;
    std::string contents;
    gIniTable.unreadable = LoadTableFile(fileName, &contents) == WholeFile::Unreadable;
    if (gIniTable.unreadable)
        AppendErrorLog(("IniOpen: cannot read " + std::string(fileName.CStr()) +
                        "; it will not be written back")
                           .c_str());
    gIniTable.Load(contents.data(), contents.size());
}

RtString IniGet(const RtString& section, const RtString& key) {
    const RtString* value = gIniTable.Find(section.CStr(), key.CStr());
    return value ? *value : RtString("NO_DATA");
}

void IniPut(const RtString& section, const RtString& key, const RtString& value) {
    gIniTable.Put(section, key, value);
}

void FlushIniFile() {
    // A file that exists but could not be read is never replaced by the few
    // values put since: that would lose everything else it holds.
    if (!gIniTable.changed || gIniTable.unreadable) return;
    std::string failure;
    if (ReplaceFileContents(gIniTable.fileName.CStr(), gIniTable.Text(), &failure)) {
        gIniTable.changed = false;
        return;
    }
    AppendErrorLog(
        ("INI file: cannot write back " + std::string(gIniTable.fileName.CStr()) + ": " + failure)
            .c_str());
}
