#include "runtime/files/LineFile.h"

#include <string>
#include <vector>

#include "runtime/core/Engine.h"
#include "runtime/files/ByteOrderMark.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/FileReplace.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr int kLineCount = 256;

// Lines are kept whole whatever their length; lines past the 256th cannot be
// addressed but are kept, so writing the file back never loses them.
struct LineFileBuffer {
    std::string fileName;
    bool bound = false;
    bool loaded = false;      // false while the file is missing and nothing was put
    bool unreadable = false;  // the file exists but could not be read: never written back
    bool byteOrderMark = false;
    std::vector<std::string> lines = std::vector<std::string>(kLineCount);
    int highestLine = -1;  // the highest line loaded or written
    std::vector<std::string> beyond;
    bool changed = false;
};

LineFileBuffer gLineFile;

void SplitLines(const std::string& contents, LineFileBuffer* buffer) {
    buffer->byteOrderMark = StartsWithByteOrderMark(contents.data(), contents.size());
    size_t start = buffer->byteOrderMark ? kByteOrderMarkSize : 0;
    int index = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        const size_t next = end == std::string::npos ? contents.size() : end + 1;
        if (end == std::string::npos) end = contents.size();
        if (end > start && contents[end - 1] == '\r') --end;
        std::string line = contents.substr(start, end - start);
        if (index < kLineCount) {
            buffer->lines[index] = std::move(line);
            buffer->highestLine = index;
        } else {
            buffer->beyond.push_back(std::move(line));
        }
        ++index;
        start = next;
    }
}

void Bind(const RtString& path) {
    if (gLineFile.bound && gLineFile.fileName == path.CStr()) return;
    FlushLineFile();
    gLineFile = LineFileBuffer();
    gLineFile.fileName = path.CStr();
    gLineFile.bound = true;
    std::string contents;
    const WholeFile read = ReadWholeFile(path.CStr(), &contents);
    gLineFile.loaded = read == WholeFile::Read;
    gLineFile.unreadable = read == WholeFile::Unreadable;
    if (gLineFile.loaded) SplitLines(contents, &gLineFile);
    if (gLineFile.unreadable)
        AppendErrorLog(
            ("Line file: cannot read " + gLineFile.fileName + "; it will not be written back")
                .c_str());
}

bool LineInRange(int32_t line) {
    return line >= 0 && line < kLineCount;
}

}  // namespace

double GetFileLine(const RtString& path, double lineValue, RtString& text) {
    const int32_t line = TruncateInt32(lineValue);
    if (!LineInRange(line)) {
        text = "NO_DATA";
        SetRuntimeError(7);
        return 0;
    }
    Bind(path);
    if (!gLineFile.loaded || gLineFile.unreadable) {
        text = "NO_FILE";
        return 1;
    }
    std::string value = gLineFile.lines[line];
    while (!value.empty() && static_cast<unsigned char>(value.back()) < 32) value.pop_back();
    if (value.empty()) {
        text = "NO_DATA";
        return 0;
    }
    text = value.c_str();
    return 1;
}

double GetFileLineNumber(const RtString& path, double line) {
    RtString text;
    GetFileLine(path, line, text);
    return TextNumberValue(text);
}

void PutFileLine(const RtString& path, double lineValue, const RtString& text) {
    const int32_t line = TruncateInt32(lineValue);
    if (!LineInRange(line)) {
        SetRuntimeError(7);
        return;
    }
    Bind(path);
    gLineFile.lines[line].assign(text.CStr(), text.Length());
    if (line > gLineFile.highestLine) gLineFile.highestLine = line;
    gLineFile.loaded = true;
    gLineFile.changed = true;
}

void PutFileLineNumber(const RtString& path, double line, double value) {
    PutFileLine(path, line, RtString(value));
}

void FlushLineFile() {
    // A file that exists but could not be read is never replaced by the few
    // lines put since: that would lose every other line it holds.
    if (!gLineFile.bound || !gLineFile.changed || gLineFile.unreadable) return;
    std::string contents;
    for (int i = 0; i <= gLineFile.highestLine; ++i) contents += gLineFile.lines[i] + "\r\n";
    for (const std::string& line : gLineFile.beyond) contents += line + "\r\n";
    PutByteOrderMark(gLineFile.byteOrderMark, &contents);
    // When the write fails the buffer stays changed and the next flush retries.
    std::string failure;
    if (ReplaceFileContents(gLineFile.fileName.c_str(), contents, &failure)) {
        gLineFile.changed = false;
        return;
    }
    AppendErrorLog(("Line file: cannot write back " + gLineFile.fileName + ": " + failure).c_str());
}
