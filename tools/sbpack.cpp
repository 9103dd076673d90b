// sbpack: makes and reads shoebox archives, the packed media a game finds
// through ShoeboxFind.
//
//   sbpack pack [--from-end] ARCHIVE FILE...   pack files (named by their base names)
//   sbpack append TARGET FILE...               append an archive to TARGET (e.g. the game),
//                                              offsets counted from the end of the file
//   sbpack list ARCHIVE                        one line per member: name, stored, unpacked bytes
//   sbpack extract ARCHIVE MEMBER [OUTPUT]     unpack one member (name matched without case)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/files/LittleEndian.h"
#include "runtime/files/ShoeboxArchive.h"
#include "runtime/files/ShoeboxPacker.h"
#include "runtime/platform/Platform.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: sbpack pack [--from-end] ARCHIVE FILE...\n"
                 "       sbpack append TARGET FILE...\n"
                 "       sbpack list ARCHIVE\n"
                 "       sbpack extract ARCHIVE MEMBER [OUTPUT]\n");
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "sbpack: %s\n", message.c_str());
    return 1;
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteBytes(const char* path, const std::vector<uint8_t>& bytes, bool append) {
    std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Pack(const char* target, char** files, int count, bool fromEnd, bool append) {
    std::vector<ShoeboxMemberInput> members;
    for (int i = 0; i < count; ++i) {
        ShoeboxMemberInput member;
        member.name = BaseName(files[i]);
        if (!ReadWholeFile(files[i], &member.bytes))
            return Fail(std::string("cannot read ") + files[i]);
        members.push_back(std::move(member));
    }
    std::vector<uint8_t> archive;
    std::string error;
    if (!PackShoebox(members, fromEnd, &archive, &error)) return Fail(error);
    if (!WriteBytes(target, archive, append)) return Fail(std::string("cannot write ") + target);
    return 0;
}

// Opens the archive and walks to its directory; prints why when it cannot.
bool OpenArchive(const char* path, platform::FileHandle* file, ShoeboxDirectory* directory) {
    *file = platform::OpenFile(path, platform::OpenMode::Read);
    if (*file == platform::kNoFile) {
        Fail(std::string("cannot open ") + path);
        return false;
    }
    if (!directory->Open(*file)) {
        platform::CloseFile(*file);
        Fail(std::string(path) + " holds no archive (no \"sbX\" trailer)");
        return false;
    }
    return true;
}

long long UnpackedSizeField(platform::FileHandle file, const ShoeboxDirectory& directory,
                            const ShoeboxEntry& entry) {
    const long long position = directory.DataPosition(entry);
    uint8_t field[4];
    if (position < 0 || platform::SeekFile(file, position, 0) != position ||
        platform::ReadFile(file, field, 4) != 4)
        return -1;
    return GetLe32(field);
}

int List(const char* path) {
    platform::FileHandle file;
    ShoeboxDirectory directory;
    if (!OpenArchive(path, &file, &directory)) return 1;
    std::vector<ShoeboxEntry> entries;
    ShoeboxEntry entry;
    while (directory.Next(&entry)) entries.push_back(entry);
    for (const ShoeboxEntry& e : entries) {
        std::printf("%s\t%u\t%lld\n", e.name, e.storedSize, UnpackedSizeField(file, directory, e));
    }
    platform::CloseFile(file);
    return 0;
}

int Extract(const char* path, const char* member, const char* output) {
    platform::FileHandle file;
    ShoeboxDirectory directory;
    if (!OpenArchive(path, &file, &directory)) return 1;
    const size_t length = std::strlen(member);
    ShoeboxEntry entry;
    bool found = false;
    while (!found && directory.Next(&entry)) {
        found = entry.nameLength == length && ShoeboxNamesEqual(entry.name, member, length);
    }
    if (!found) {
        platform::CloseFile(file);
        return Fail(std::string("no member ") + member);
    }
    uint32_t size = 0;
    uint8_t* bytes = UnpackShoeboxMember(file, directory, entry, &size);
    platform::CloseFile(file);
    if (!bytes) return Fail(std::string("member ") + member + " is damaged");
    std::vector<uint8_t> data(bytes, bytes + size);
    std::free(bytes);
    if (!output && !ShoeboxNameSafe(entry.name, entry.nameLength))
        return Fail("member name unfit for a file name; give OUTPUT");
    const char* target = output ? output : entry.name;
    if (!WriteBytes(target, data, false)) return Fail(std::string("cannot write ") + target);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    if (command == "pack") {
        const bool fromEnd = std::strcmp(argv[2], "--from-end") == 0;
        const int first = fromEnd ? 3 : 2;
        if (argc < first + 2) return Usage();
        return Pack(argv[first], argv + first + 1, argc - first - 1, fromEnd, false);
    }
    if (command == "append" && argc >= 4) {
        if (!platform::FileExists(argv[2])) return Fail(std::string("no file ") + argv[2]);
        return Pack(argv[2], argv + 3, argc - 3, true, true);
    }
    if (command == "list" && argc == 3) return List(argv[2]);
    if (command == "extract" && (argc == 4 || argc == 5))
        return Extract(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
    return Usage();
}
