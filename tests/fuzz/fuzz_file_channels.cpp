// Any bytes as a file read through a channel: the first bytes choose a
// sequence of reads and seeks, the rest is the file. Every read stays within
// what the file holds, gives the file's own bytes, and the channel's count of
// bytes read agrees with the end of the file.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "FuzzFolder.h"
#include "runtime/files/FileChannels.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"

namespace {

uint64_t Le(const uint8_t* bytes, int width) {
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t opCount = std::min<size_t>(data[0] % 32, size - 1);
    const uint8_t* ops = data + 1;
    const uint8_t* bytes = ops + opCount;
    const size_t fileSize = size - 1 - opCount;

    const std::string path = FuzzFolder() + "/channel.bin";
    platform::FileHandle file = platform::OpenFile(path.c_str(), platform::OpenMode::CreateAlways);
    platform::WriteFile(file, bytes, fileSize);
    platform::CloseFile(file);
    if (OpenFile(3, RtString(path.c_str()), 1) != 1) abort();

    size_t at = 0;  // where the next read starts
    for (size_t i = 0; i < opCount; ++i) {
        const size_t left = fileSize - at;
        if ((FileAtEnd(3) != 0) != (left == 0)) abort();
        const int op = ops[i] & 7;
        const int width[] = {1, 2, 4, 4, 8};
        if (op <= 4) {
            if (left < static_cast<size_t>(width[op])) continue;  // would end the program
            const uint64_t expected = Le(bytes + at, width[op]);
            double got = 0;
            switch (op) {
                case 0:
                    got = ReadByte(3);
                    break;
                case 1:
                    got = ReadWord(3);
                    break;
                case 2:
                    got = ReadLong(3);
                    break;
                case 3: {
                    float f;
                    const uint32_t bits = static_cast<uint32_t>(expected);
                    std::memcpy(&f, &bits, 4);
                    got = ReadFloat(3);
                    if (!(got == f || (got != got && f != f))) abort();
                    break;
                }
                case 4: {
                    double d;
                    std::memcpy(&d, &expected, 8);
                    got = ReadDouble(3);
                    if (std::memcmp(&got, &d, 8) != 0 && !(got != got && d != d)) abort();
                    break;
                }
            }
            if (op <= 2 && got != static_cast<double>(expected)) abort();
            at += width[op];
        } else if (op == 5) {
            const size_t count = std::min<size_t>(ops[i] >> 3, left);
            const RtString text = ReadText(3, static_cast<double>(count));
            if (text.Length() != count || std::memcmp(text.CStr(), bytes + at, count) != 0) abort();
            at += count;
        } else if (op == 6) {
            const RtString line = ReadLine(3);
            // The line is the file's bytes up to the first "\n" within 1024
            // bytes (which is consumed too) or to the end of those bytes,
            // without a "\r" at its end.
            const size_t scan = std::min<size_t>(left, 1024);
            const void* newline = std::memchr(bytes + at, '\n', scan);
            size_t end = newline ? static_cast<const uint8_t*>(newline) - (bytes + at) : scan;
            const size_t consumed = newline ? end + 1 : end;
            if (end > 0 && bytes[at + end - 1] == '\r') --end;
            if (line.Length() != end || std::memcmp(line.CStr(), bytes + at, end) != 0) abort();
            at += consumed;
        } else {
            const size_t target = fileSize ? (ops[i] >> 3) % (fileSize + 1) : 0;
            SeekFile(3, static_cast<double>(target), 0);
            at = target;
        }
    }
    CloseFile(3);
    platform::DeleteFile(path.c_str());
    return 0;
}
