// Files, directories and processes over POSIX.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"

extern char** environ;

namespace platform {

namespace {

// Per kind of call: the errno value its next call fails with, 0 for none.
std::atomic<int> gForcedFailures[4];

bool ForcedFailure(FileCall call) {
    const int error = gForcedFailures[static_cast<int>(call)].exchange(0);
    if (error == 0) return false;
    errno = error;
    return true;
}

}  // namespace

void FailNextFileCall(FileCall call, int error) {
    gForcedFailures[static_cast<int>(call)] = error;
}

std::string NativePath(const char* path) {
    std::string native = path ? path : "";
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

FileHandle OpenFile(const char* path, OpenMode mode) {
    if (!path || !*path) return kNoFile;
    int flags = O_CLOEXEC;
    switch (mode) {
        case OpenMode::Read:
            flags |= O_RDONLY;
            break;
        case OpenMode::ReadWrite:
            flags |= O_RDWR;
            break;
        case OpenMode::CreateAlways:
            flags |= O_RDWR | O_CREAT | O_TRUNC;
            break;
        case OpenMode::OpenAlways:
            flags |= O_RDWR | O_CREAT;
            break;
    }
    const std::string native = NativePath(path);
    int fd;
    do {
        fd = ::open(native.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return kNoFile;
    struct stat info;
    // A directory opens read-only on POSIX but is no file for the runtime.
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return kNoFile;
    }
    return fd;
}

long long ReadFile(FileHandle file, void* buffer, size_t bytes) {
    if (file < 0 || (!buffer && bytes)) return -1;
    size_t done = 0;
    char* out = static_cast<char*>(buffer);
    while (done < bytes) {
        ssize_t got = ::read(file, out + done, bytes - done);
        if (got < 0) {
            if (errno == EINTR) continue;
            return done ? static_cast<long long>(done) : -1;
        }
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<long long>(done);
}

long long WriteFile(FileHandle file, const void* buffer, size_t bytes) {
    if (file < 0 || (!buffer && bytes) || ForcedFailure(FileCall::Write)) return -1;
    size_t done = 0;
    const char* in = static_cast<const char*>(buffer);
    while (done < bytes) {
        ssize_t put = ::write(file, in + done, bytes - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            return done ? static_cast<long long>(done) : -1;
        }
        done += static_cast<size_t>(put);
    }
    return static_cast<long long>(done);
}

long long SeekFile(FileHandle file, long long offset, int whence) {
    if (file < 0) return -1;
    int how = whence == 1 ? SEEK_CUR : whence == 2 ? SEEK_END : SEEK_SET;
    return static_cast<long long>(::lseek(file, static_cast<off_t>(offset), how));
}

long long FileSize(FileHandle file) {
    struct stat info;
    if (file < 0 || ::fstat(file, &info) != 0) return -1;
    return static_cast<long long>(info.st_size);
}

void CloseFile(FileHandle file) {
    if (file >= 0) ::close(file);
}

bool SyncFile(FileHandle file) {
    return file >= 0 && !ForcedFailure(FileCall::Sync) && ::fsync(file) == 0;
}

bool DeleteFile(const char* path) {
    if (!path || !*path) return false;
    return ::unlink(NativePath(path).c_str()) == 0;
}

bool RenameFile(const char* from, const char* to) {
    if (!from || !to || !*from || !*to || ForcedFailure(FileCall::Rename)) return false;
    return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

FileHandle CreateFileBeside(const char* beside, std::string* path) {
    path->clear();
    if (!beside || !*beside) {
        errno = ENOENT;
        return kNoFile;
    }
    if (ForcedFailure(FileCall::CreateBeside)) return kNoFile;
    const std::string native = NativePath(beside);
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : native.substr(0, slash + 1);
    struct stat old;
    const bool hasOld = ::stat(native.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[48];
        std::snprintf(name, sizeof name, ".quorbel-%d-%u.new", static_cast<int>(::getpid()),
                      counter++);
        const std::string candidate = folder + name;
        // Never more open than the file it replaces, not even while written.
        const int fd =
            ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, hasOld ? 0600 : 0666);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR) continue;
            return kNoFile;
        }
        if (hasOld) {
            // Owner and group first: giving them away may clear the set-id bits.
            if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, -1, old.st_gid);
            (void)::fchmod(fd, old.st_mode & 07777);
        }
        *path = candidate;
        return fd;
    }
    errno = EEXIST;
    return kNoFile;
}

std::string LastFileError() {
    return std::strerror(errno);
}

bool FileExists(const char* path) {
    if (!path || !*path) return false;
    struct stat info;
    return ::stat(NativePath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PathExists(const char* path) {
    if (!path || !*path) return false;
    struct stat info;
    return ::lstat(NativePath(path).c_str(), &info) == 0;
}

bool MakePrivateDirectory(const char* path) {
    if (!path || !*path) return false;
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    if (::mkdir(native.c_str(), 0700) == 0) return true;
    if (errno != EEXIST) return false;
    // An existing entry counts only when nobody else could have planted it:
    // a real directory (no link), ours, closed to group and others.
    struct stat info;
    if (::lstat(native.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

bool RemoveDirectory(const char* path) {
    if (!path || !*path) return false;
    return ::rmdir(NativePath(path).c_str()) == 0;
}

std::string TempFolder() {
    const char* dir = std::getenv("TMPDIR");
    std::string folder = (dir && *dir) ? dir : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string ProgramPath() {
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return std::string();
    return std::string(buffer, static_cast<size_t>(length));
}

bool ChangeDirectory(const char* path) {
    if (!path || !*path) return false;
    return ::chdir(NativePath(path).c_str()) == 0;
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) return std::string();
    return buffer;
}

int ProcessId() {
    return static_cast<int>(::getpid());
}

bool StartProcess(const char* commandLine) {
    if (!commandLine || !*commandLine) return false;
    // The outer shell puts the command in the background and exits at once,
    // so the command is adopted by init and never left a zombie of ours.
    const char* argv[] = {"/bin/sh", "-c",        "/bin/sh -c \"$1\" </dev/null &",
                          "sh",      commandLine, nullptr};
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
#ifdef POSIX_SPAWN_SETSID
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
#endif
    pid_t child = 0;
    int failed = ::posix_spawn(&child, "/bin/sh", nullptr, &attributes,
                               const_cast<char* const*>(argv), environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
