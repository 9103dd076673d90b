#include "runtime/files/Shoebox.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/ShoeboxArchive.h"
#include "runtime/platform/Platform.h"

namespace {

std::string gUnpackFolder;  // the process's private folder, once made

void ClearOutput(char* output, size_t outputSize) {
    if (output && outputSize) output[0] = 0;
}

int CopyOutput(const std::string& path, char* output, size_t outputSize) {
    if (!output || path.size() + 1 > outputSize) return 0;
    std::memcpy(output, path.c_str(), path.size() + 1);
    return 1;
}

void DeletePendingFile(Shoebox* shoebox) {
    if (!shoebox->pendingFile[0]) return;
    platform::DeleteFile(shoebox->pendingFile);
    shoebox->pendingFile[0] = 0;
}

bool PlainFileOpens(const std::string& name) {
    platform::FileHandle file = platform::OpenFile(name.c_str(), platform::OpenMode::Read);
    if (file == platform::kNoFile) return false;
    platform::CloseFile(file);
    return true;
}

const char* NameTail(const char* name) {
    const char* tail = name;
    for (const char* p = name; *p; ++p) {
        if (*p == '/' || *p == '\\') tail = p + 1;
    }
    return tail;
}

bool FindEntry(ShoeboxDirectory& directory, const char* tail, ShoeboxEntry* entry) {
    const size_t tailLength = std::strlen(tail);
    while (directory.Next(entry)) {
        if (entry->nameLength != tailLength) continue;
        if (!ShoeboxNamesEqual(entry->name, tail, tailLength)) continue;
        if (ShoeboxNameSafe(entry->name, entry->nameLength)) return true;
    }
    return false;
}

std::string UnpackedPath(const ShoeboxEntry& entry) {
    std::string path = ShoeboxTempFolder();
    if (path.empty()) return path;
    path += "sbx";
    path += static_cast<char>('A' + (static_cast<uint32_t>(entry.dataOffset) & 255) % 26);
    path += static_cast<char>('A' + (entry.storedSize & 255) % 26);
    path += entry.name;
    return path;
}

// A member that cannot be written whole (a name too long for the file
// system, a full disk) is not found: the caller would open nothing or half.
bool WriteUnpackedFile(const std::string& path, const uint8_t* bytes, uint32_t size) {
    platform::DeleteFile(path.c_str());
    platform::FileHandle file = platform::OpenFile(path.c_str(), platform::OpenMode::CreateAlways);
    if (file == platform::kNoFile) return false;
    const bool written = platform::WriteFile(file, bytes, size) == static_cast<long long>(size);
    platform::CloseFile(file);
    if (!written) platform::DeleteFile(path.c_str());
    return written;
}

// The archive half of a lookup: the archive is opened, its directory scanned and the
// member unpacked, every time; nothing is kept between lookups.
bool FindInArchive(Shoebox* shoebox, const std::string& request, std::string* output) {
    if (!shoebox->archivePath[0]) {
        shoebox->enabled = 0;
        return false;
    }
    platform::FileHandle archive =
        platform::OpenFile(shoebox->archivePath, platform::OpenMode::Read);
    if (archive == platform::kNoFile) {
        shoebox->enabled = 0;
        return false;
    }
    ShoeboxDirectory directory;
    if (!directory.Open(archive)) {
        platform::CloseFile(archive);
        shoebox->enabled = 0;
        return false;
    }
    ShoeboxEntry entry;
    if (!FindEntry(directory, NameTail(request.c_str()), &entry)) {
        platform::CloseFile(archive);
        return false;
    }
    uint32_t size = 0;
    uint8_t* bytes = UnpackShoeboxMember(archive, directory, entry, &size);
    platform::CloseFile(archive);
    if (!bytes) {
        AppendErrorLog(("Shoebox: damaged member " + std::string(entry.name)).c_str());
        return false;
    }
    const std::string path = UnpackedPath(entry);
    if (path.empty() || path.size() >= sizeof shoebox->pendingFile) {
        std::free(bytes);
        return false;
    }
    const bool written = WriteUnpackedFile(path, bytes, size);
    std::free(bytes);
    if (!written) {
        AppendErrorLog(("Shoebox: cannot unpack " + std::string(entry.name)).c_str());
        return false;
    }
    std::memcpy(shoebox->pendingFile, path.c_str(), path.size() + 1);
    *output = path;
    return true;
}

}  // namespace

const char* ShoeboxTempFolder() {
    // Checked on every use: the folder may have been removed by the other
    // instance's release, and a name another user holds is passed over.
    if (!gUnpackFolder.empty() && platform::MakePrivateDirectory(gUnpackFolder.c_str()))
        return gUnpackFolder.c_str();
    const std::string base =
        platform::TempFolder() + "quorbel-" + std::to_string(platform::ProcessId());
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string folder = attempt ? base + "-" + std::to_string(attempt) : base;
        if (platform::MakePrivateDirectory(folder.c_str())) {
            gUnpackFolder = folder + "/";
            return gUnpackFolder.c_str();
        }
    }
    gUnpackFolder.clear();
    AppendErrorLog("Shoebox: no private temporary folder");
    return "";
}

bool ShoeboxResolve(Shoebox* shoebox, const char* name, std::string* path) {
    DeletePendingFile(shoebox);
    path->clear();
    if (!name || !*name) return false;
    if (PlainFileOpens(name)) {
        *path = name;
        return true;
    }
    if (!shoebox->enabled) return false;
    return FindInArchive(shoebox, name, path);
}

int ShoeboxFind(Shoebox* shoebox, const char* name, char* output, size_t outputSize) {
    std::string path;
    const bool found = ShoeboxResolve(shoebox, name, &path);  // `name` may live in `output`
    ClearOutput(output, outputSize);
    if (found && CopyOutput(path, output, outputSize)) return 1;
    DeletePendingFile(shoebox);  // an unpacked member nobody can name is not kept
    return 0;
}

void SetShoeboxPath(Shoebox* shoebox, const char* archivePath) {
    shoebox->enabled = 1;
    DeletePendingFile(shoebox);
    const size_t length = archivePath ? std::strlen(archivePath) : 0;
    // A path that does not fit is dropped rather than cut to another file's name.
    if (length >= sizeof shoebox->archivePath) {
        shoebox->archivePath[0] = 0;
        return;
    }
    std::memcpy(shoebox->archivePath, archivePath ? archivePath : "", length + 1);
}

void SetShoebox(const RtString& mediaArchive, const RtString& movieArchive) {
    if (gEngine.mediaShoebox) SetShoeboxPath(gEngine.mediaShoebox, mediaArchive.CStr());
    if (gEngine.movieShoebox) SetShoeboxPath(gEngine.movieShoebox, movieArchive.CStr());
}

void ReleaseShoebox(Shoebox* shoebox) {
    if (!shoebox) return;
    DeletePendingFile(shoebox);
    delete shoebox;
    // Succeeds only once the folder is empty, i.e. at the last release.
    if (!gUnpackFolder.empty()) platform::RemoveDirectory(gUnpackFolder.c_str());
}
