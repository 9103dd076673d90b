// Any member name in an archive, and any requested name: an unpacked member
// lands inside the process's private folder under a name of its own, holds
// the member's bytes, and nothing is ever written anywhere else.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "runtime/files/Shoebox.h"
#include "runtime/files/ShoeboxPacker.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"

namespace fs = std::filesystem;

namespace {

const std::vector<uint8_t> kMember = {'m', 'e', 'm', 'b', 'e', 'r', 0, 1, 2, 255};

size_t EntriesUnder(const std::string& folder) {
    std::error_code ignored;
    size_t count = 0;
    for (auto it = fs::recursive_directory_iterator(folder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        if (it->path().filename() != "ErrorLog.txt") ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFuzzFolder();
    return 0;
}

// The first byte splits the rest into the stored name (1..255 bytes) and the
// requested name.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t nameLength = std::clamp<size_t>(data[0], 1, std::min<size_t>(size - 1, 255));
    const std::string stored(reinterpret_cast<const char*>(data + 1), nameLength);
    const std::string request(reinterpret_cast<const char*>(data + 1 + nameLength),
                              size - 1 - nameLength);

    // Packed under a harmless name of the same length, which is then
    // overwritten with the fuzzer's bytes in the directory.
    std::vector<uint8_t> archive;
    std::string error;
    if (!PackShoebox({{std::string(nameLength, 'a'), kMember}}, false, &archive, &error)) abort();
    const size_t nameAt = archive.size() - 7 - 1 - 8 - nameLength;
    std::memcpy(archive.data() + nameAt, stored.data(), nameLength);
    const std::string archivePath = FuzzFolder() + "/media.sbx";
    platform::FileHandle file =
        platform::OpenFile(archivePath.c_str(), platform::OpenMode::CreateAlways);
    platform::WriteFile(file, archive.data(), archive.size());
    platform::CloseFile(file);

    const size_t before = EntriesUnder(FuzzFolder());
    Shoebox* box = new Shoebox;
    SetShoeboxPath(box, archivePath.c_str());
    std::string path;
    if (ShoeboxResolve(box, request.c_str(), &path) && path != request) {
        const std::string folder = ShoeboxTempFolder();
        if (path.compare(0, folder.size(), folder) != 0) abort();
        const std::string leaf = path.substr(folder.size());
        if (leaf.find('/') != std::string::npos || leaf.find('\\') != std::string::npos ||
            leaf.size() < 6 || leaf.compare(0, 3, "sbx") != 0)
            abort();
        std::vector<uint8_t> bytes(kMember.size() + 1);
        platform::FileHandle unpacked = platform::OpenFile(path.c_str(), platform::OpenMode::Read);
        if (platform::ReadFile(unpacked, bytes.data(), bytes.size()) !=
                static_cast<long long>(kMember.size()) ||
            !std::equal(kMember.begin(), kMember.end(), bytes.begin()))
            abort();
        platform::CloseFile(unpacked);
        // The private folder and the one member inside it, nothing else.
        if (EntriesUnder(FuzzFolder()) > before + 2) abort();
    }
    ReleaseShoebox(box);
    if (EntriesUnder(FuzzFolder()) != before) abort();
    return 0;
}
