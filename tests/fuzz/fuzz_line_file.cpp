// Any bytes as a line file: every line reads back the same after a line is
// put and the buffer written back, and nothing is read or written out of
// bounds on the way.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzFolder.h"
#include "runtime/files/LineFile.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"

namespace {

std::string Line(const std::string& path, int line) {
    RtString text;
    GetFileLine(RtString(path.c_str()), line, text);
    return std::string(text.CStr(), text.Length());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzFolder() + "/lines.txt";
    const std::string other = FuzzFolder() + "/other.txt";
    platform::FileHandle file = platform::OpenFile(path.c_str(), platform::OpenMode::CreateAlways);
    platform::WriteFile(file, data, size);
    platform::CloseFile(file);

    // The put line's number comes from the input, so every slot gets its turn.
    const int put = size ? data[0] : 0;
    std::string before[256];
    Line(other, 0);  // a fresh binding: the file is loaded anew
    for (int i = 0; i < 256; ++i) before[i] = Line(path, i);
    PutFileLine(RtString(path.c_str()), put, RtString("put by the fuzzer"));
    Line(other, 0);  // writes the buffer back
    for (int i = 0; i < 256; ++i) {
        const std::string after = Line(path, i);
        if (i == put ? after != "put by the fuzzer" : after != before[i]) abort();
    }
    Line(other, 0);
    platform::DeleteFile(path.c_str());
    return 0;
}
