#include "runtime/files/FileChannels.h"

#include <bit>
#include <cstring>
#include <string>

#include "runtime/core/Engine.h"
#include "runtime/files/LittleEndian.h"
#include "runtime/platform/Platform.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr int kChannelCount = 8;
constexpr uint32_t kLineLimit = 1024;
constexpr size_t kLinePiece = 64;

struct FileChannel {
    platform::FileHandle handle = platform::kNoFile;
    long long size = 0;      // taken when opened for reading
    long long position = 0;  // the runtime's own count of bytes read or written
};

FileChannel gChannels[kChannelCount];

[[noreturn]] void Fail(double error) {
    SetRuntimeError(error);
    EndProgram();
}

FileChannel& Channel(double number) {
    const int32_t index = TruncateInt32(number);
    if (index < 0 || index >= kChannelCount) Fail(7);
    return gChannels[index];
}

// A read of exactly `bytes`, counted before it happens; anything less ends the program.
void ReadExactly(double number, void* out, size_t bytes) {
    FileChannel& channel = Channel(number);
    channel.position += static_cast<long long>(bytes);
    if (channel.handle == platform::kNoFile ||
        platform::ReadFile(channel.handle, out, bytes) != static_cast<long long>(bytes))
        Fail(3);
}

void WriteExactly(double number, const void* in, size_t bytes) {
    FileChannel& channel = Channel(number);
    if (channel.handle == platform::kNoFile) Fail(3);
    const long long written = platform::WriteFile(channel.handle, in, bytes);
    if (written > 0) channel.position += written;
}

uint32_t LowBits(double value) {
    return static_cast<uint32_t>(static_cast<uint64_t>(TruncateInt64(value)));
}

}  // namespace

double OpenFile(double number, const RtString& path, double mode) {
    FileChannel& channel = Channel(number);
    if (channel.handle != platform::kNoFile) platform::CloseFile(channel.handle);
    channel = FileChannel();
    if (mode != 0) {
        channel.handle = platform::OpenFile(path.CStr(), platform::OpenMode::Read);
        if (channel.handle != platform::kNoFile) channel.size = platform::FileSize(channel.handle);
    } else {
        platform::DeleteFile(path.CStr());
        channel.handle = platform::OpenFile(path.CStr(), platform::OpenMode::CreateAlways);
    }
    return channel.handle != platform::kNoFile ? 1.0 : 0.0;
}

void CloseFile(double number) {
    FileChannel& channel = Channel(number);
    if (channel.handle != platform::kNoFile) platform::CloseFile(channel.handle);
    channel = FileChannel();
}

void CloseFileChannels() {
    for (FileChannel& channel : gChannels) {
        if (channel.handle != platform::kNoFile) platform::CloseFile(channel.handle);
        channel = FileChannel();
    }
}

double FileAtEnd(double number) {
    const FileChannel& channel = Channel(number);
    return channel.position >= channel.size ? 1.0 : 0.0;
}

double ReadByte(double channel) {
    uint8_t byte = 0;
    ReadExactly(channel, &byte, 1);
    return byte;
}

double ReadWord(double channel) {
    uint8_t bytes[2];
    ReadExactly(channel, bytes, 2);
    return GetLe16(bytes);
}

double ReadLong(double channel) {
    uint8_t bytes[4];
    ReadExactly(channel, bytes, 4);
    return GetLe32(bytes);
}

double ReadFloat(double channel) {
    uint8_t bytes[4];
    ReadExactly(channel, bytes, 4);
    return std::bit_cast<float>(GetLe32(bytes));
}

double ReadDouble(double channel) {
    uint8_t bytes[8];
    ReadExactly(channel, bytes, 8);
    return std::bit_cast<double>(GetLe64(bytes));
}

RtString ReadText(double number, double countValue) {
    RtString text;
    const int64_t count = TruncateInt64(countValue);
    if (count <= 0) return text;
    FileChannel& channel = Channel(number);
    // A count beyond the file's remaining bytes can only come back short:
    // fail before reserving room for it.
    if (channel.handle == platform::kNoFile) Fail(3);
    const long long here = platform::SeekFile(channel.handle, 0, 1);
    const long long total = platform::FileSize(channel.handle);
    if (here < 0 || total < 0 || count > total - here || count >= int64_t{UINT32_MAX}) {
        channel.position += count;
        Fail(3);
    }
    text.Reserve(static_cast<uint32_t>(count));
    ReadExactly(number, text.buffer, static_cast<size_t>(count));
    text.buffer[count] = 0;
    text.length = static_cast<uint32_t>(count);
    return text;
}

RtString ReadLine(double number) {
    FileChannel& channel = Channel(number);
    if (channel.handle == platform::kNoFile) Fail(3);
    RtString line;
    line.Reserve(kLineLimit);
    char* out = line.buffer;
    uint32_t got = 0;
    long long end = -1;  // bytes of the line, the "\n" excluded
    bool newlineFound = false;
    while (end < 0 && got < kLineLimit) {
        const size_t want = kLineLimit - got < kLinePiece ? kLineLimit - got : kLinePiece;
        const long long came = platform::ReadFile(channel.handle, out + got, want);
        const uint32_t before = got;
        if (came > 0) got += static_cast<uint32_t>(came);
        const void* newline = std::memchr(out + before, '\n', got - before);
        if (newline) {
            end = static_cast<const char*>(newline) - out;
            newlineFound = true;
        } else if (came < static_cast<long long>(want)) {
            end = got;  // the end of the file ends the line
        }
    }
    if (end < 0) end = got;  // 1024 bytes without a "\n": the rest is the next line
    const long long consumed = end + (newlineFound ? 1 : 0);
    platform::SeekFile(channel.handle, consumed - got, 1);
    channel.position += consumed;
    if (end > 0 && out[end - 1] == '\r') --end;
    out[end] = 0;
    line.length = static_cast<uint32_t>(end);
    return line;
}

double ReadLineNumber(double channel) {
    return TextNumberValue(ReadLine(channel));
}

void WriteByte(double channel, double value) {
    const uint8_t byte = static_cast<uint8_t>(LowBits(value));
    WriteExactly(channel, &byte, 1);
}

void WriteWord(double channel, double value) {
    uint8_t bytes[2];
    PutLe16(bytes, static_cast<uint16_t>(LowBits(value)));
    WriteExactly(channel, bytes, 2);
}

void WriteLong(double channel, double value) {
    uint8_t bytes[4];
    PutLe32(bytes, LowBits(value));
    WriteExactly(channel, bytes, 4);
}

void WriteFloat(double channel, double value) {
    uint8_t bytes[4];
    PutLe32(bytes, std::bit_cast<uint32_t>(static_cast<float>(value)));
    WriteExactly(channel, bytes, 4);
}

void WriteDouble(double channel, double value) {
    uint8_t bytes[8];
    PutLe64(bytes, std::bit_cast<uint64_t>(value));
    WriteExactly(channel, bytes, 8);
}

void WriteLine(double channel, const RtString& text) {
    std::string line(text.CStr(), text.Length());
    line += "\r\n";
    WriteExactly(channel, line.data(), line.size());
}

void WriteLineNumber(double channel, double value) {
    WriteLine(channel, RtString(value));
}

void SeekFile(double number, double offset, double origin) {
    FileChannel& channel = Channel(number);
    if (channel.handle == platform::kNoFile) Fail(3);
    const int whence = origin == 0 ? 0 : origin > 0 ? 1 : 2;
    const long long moved = platform::SeekFile(channel.handle, TruncateInt64(offset), whence);
    if (moved >= 0) channel.position = moved;
}

double FileSize(const RtString& path) {
    platform::FileHandle file = platform::OpenFile(path.CStr(), platform::OpenMode::Read);
    if (file == platform::kNoFile) return 0;
    const long long size = platform::FileSize(file);
    platform::CloseFile(file);
    return size > 0 ? static_cast<double>(size) : 0.0;
}

void DeleteFile(const RtString& path) {
    platform::DeleteFile(path.CStr());
}

RtString CurrentDirectory() {
    return RtString(platform::CurrentDirectory().c_str());
}

void SetDirectory(const RtString& path) {
    platform::ChangeDirectory(path.CStr());
}
