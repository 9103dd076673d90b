#include "runtime/files/FileReplace.h"

#include "runtime/platform/Platform.h"

bool ReplaceFileContents(const char* path, const std::string& contents) {
    if (!path || !*path) return false;
    const std::string fresh =
        std::string(path) + "." + std::to_string(platform::ProcessId()) + ".new";
    platform::DeleteFile(fresh.c_str());
    platform::FileHandle file = platform::OpenFile(fresh.c_str(), platform::OpenMode::CreateAlways);
    if (file == platform::kNoFile) return false;
    const bool written = platform::WriteFile(file, contents.data(), contents.size()) ==
                             static_cast<long long>(contents.size()) &&
                         platform::SyncFile(file);
    platform::CloseFile(file);
    if (!written || !platform::RenameFile(fresh.c_str(), path)) {
        platform::DeleteFile(fresh.c_str());
        return false;
    }
    return true;
}

bool ReadWholeFile(const char* path, size_t limit, std::string* contents) {
    contents->clear();
    platform::FileHandle file = platform::OpenFile(path, platform::OpenMode::Read);
    if (file == platform::kNoFile) return false;
    const long long size = platform::FileSize(file);
    bool read = size >= 0 && static_cast<unsigned long long>(size) <= limit;
    if (read) {
        contents->resize(static_cast<size_t>(size));
        read = platform::ReadFile(file, contents->data(), contents->size()) == size;
    }
    platform::CloseFile(file);
    if (!read) contents->clear();
    return read;
}
