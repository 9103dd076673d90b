// Any bytes as a line file, under a name of 250 bytes and with mode 0600:
// every line reads back the same after a line is put and the buffer written
// back, the file keeps its mode and its byte-order mark (and gets none it did
// not have), no new file is left beside it, and nothing is read or written
// out of bounds on the way.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>

#include "FuzzFolder.h"
#include "runtime/files/ByteOrderMark.h"
#include "runtime/files/FileReplace.h"
#include "runtime/files/LineFile.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"

namespace {

std::string Line(const std::string& path, int line) {
    RtString text;
    GetFileLine(RtString(path.c_str()), line, text);
    return std::string(text.CStr(), text.Length());
}

mode_t ModeOf(const std::string& path) {
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0) abort();
    return info.st_mode & 07777;
}

long FilesInFolder() {
    return std::distance(std::filesystem::directory_iterator(FuzzFolder()),
                         std::filesystem::directory_iterator());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzFolder() + "/" + std::string(246, 'l') + ".txt";
    const std::string other = FuzzFolder() + "/other.txt";
    platform::FileHandle file = platform::OpenFile(path.c_str(), platform::OpenMode::CreateAlways);
    platform::WriteFile(file, data, size);
    platform::CloseFile(file);
    chmod(path.c_str(), 0600);
    const long files = FilesInFolder();

    // The put line's number comes from the input, so every slot gets its turn.
    const int put = size ? data[0] : 0;
    std::string before[256];
    Line(other, 0);  // a fresh binding: the file is loaded anew
    for (int i = 0; i < 256; ++i) before[i] = Line(path, i);
    PutFileLine(RtString(path.c_str()), put, RtString("put by the fuzzer"));
    Line(other, 0);  // writes the buffer back
    std::string written;
    if (ReadWholeFile(path.c_str(), &written) != WholeFile::Read) abort();
    if (StartsWithByteOrderMark(written.data(), written.size()) !=
        StartsWithByteOrderMark(reinterpret_cast<const char*>(data), size))
        abort();
    if (ModeOf(path) != 0600 || FilesInFolder() != files) abort();
    for (int i = 0; i < 256; ++i) {
        const std::string after = Line(path, i);
        if (i == put ? after != "put by the fuzzer" : after != before[i]) abort();
    }
    Line(other, 0);
    platform::DeleteFile(path.c_str());
    return 0;
}
