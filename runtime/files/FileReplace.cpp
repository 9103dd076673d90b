#include "runtime/files/FileReplace.h"

#include <new>

#include "runtime/platform/Platform.h"

namespace {

// The step that failed, with the system's reason.
std::string Reason(const char* step) {
    return std::string(step) + " (" + platform::LastFileError() + ")";
}

// Empty when every byte reached the disk.
std::string WriteToDisk(platform::FileHandle file, const std::string& contents) {
    if (platform::WriteFile(file, contents.data(), contents.size()) !=
        static_cast<long long>(contents.size()))
        return Reason("the new file could not be written whole");
    if (!platform::SyncFile(file)) return Reason("the new file could not be brought to the disk");
    return std::string();
}

// Empty when the old file was replaced, else why not.
std::string Replace(const char* path, const std::string& contents) {
    if (!path || !*path) return "the file has no name";
    std::string fresh;
    const platform::FileHandle file = platform::CreateFileBeside(path, &fresh);
    if (file == platform::kNoFile) return Reason("no new file could be made beside it");
    std::string why = WriteToDisk(file, contents);
    platform::CloseFile(file);
    if (why.empty() && !platform::RenameFile(fresh.c_str(), path))
        why = Reason("the new file could not take the old one's name");
    if (!why.empty()) platform::DeleteFile(fresh.c_str());
    return why;
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::string& contents, std::string* failure) {
    const std::string why = Replace(path, contents);
    if (failure) *failure = why;
    return why.empty();
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
