// Any bytes as a shoebox archive: the directory walk and the member reader
// must end cleanly, and unpacked files must stay in the private folder.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "FuzzFolder.h"
#include "runtime/files/Shoebox.h"
#include "runtime/files/ShoeboxArchive.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"

namespace {

std::string gArchive;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFuzzFolder();
    gArchive = FuzzFolder() + "/archive.sbx";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::FileHandle file =
        platform::OpenFile(gArchive.c_str(), platform::OpenMode::CreateAlways);
    platform::WriteFile(file, data, size);
    platform::CloseFile(file);

    // Every name the directory offers (up to a few), then one it may not hold.
    std::string names[5];
    int count = 0;
    file = platform::OpenFile(gArchive.c_str(), platform::OpenMode::Read);
    ShoeboxDirectory directory;
    if (directory.Open(file)) {
        ShoeboxEntry entry;
        while (count < 4 && directory.Next(&entry)) names[count++] = entry.name;
    }
    platform::CloseFile(file);
    names[count++] = "dir/Missing.PNG";

    Shoebox* box = new Shoebox;
    SetShoeboxPath(box, gArchive.c_str());
    for (int i = 0; i < count; ++i) {
        char output[512];
        std::strncpy(output, names[i].c_str(), sizeof output - 1);
        output[sizeof output - 1] = 0;
        if (ShoeboxFind(box, output, output, sizeof output)) {
            const char* folder = ShoeboxTempFolder();
            if (std::strncmp(output, folder, std::strlen(folder)) != 0 ||
                std::strstr(output, "/.."))
                abort();
        }
    }
    ReleaseShoebox(box);
    return 0;
}
