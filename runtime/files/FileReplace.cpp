#include "runtime/files/FileReplace.h"

#include <new>

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

WholeFile ReadWholeFile(const char* path, std::string* contents) {
    contents->clear();
    platform::FileHandle file = platform::OpenFile(path, platform::OpenMode::Read);
    if (file == platform::kNoFile)
        return platform::PathExists(path) ? WholeFile::Unreadable : WholeFile::Missing;
    constexpr size_t kStep = size_t{1} << 20;
    bool read = true;
    try {
        const long long size = platform::FileSize(file);
        if (size > 0) contents->reserve(static_cast<size_t>(size) + kStep);
        // Only a read that gives nothing is the end: a short read may be an
        // error that the next read reports.
        for (long long got = 1; got > 0;) {
            const size_t done = contents->size();
            contents->resize(done + kStep);
            got = platform::ReadFile(file, contents->data() + done, kStep);
            contents->resize(done + static_cast<size_t>(got > 0 ? got : 0));
            if (got < 0) read = false;
        }
    } catch (const std::bad_alloc&) {
        read = false;
    }
    platform::CloseFile(file);
    if (read) return WholeFile::Read;
    std::string().swap(*contents);
    return WholeFile::Unreadable;
}
