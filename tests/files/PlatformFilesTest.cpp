// The platform's files, folders and processes, as the runtime uses them.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "FilesTestSupport.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"

namespace {

using namespace filestest;

TEST(PlatformFiles, NativePathTurnsBackslashesIntoSlashes) {
    EXPECT_EQ(platform::NativePath("media\\vux\\00.png"), "media/vux/00.png");
    EXPECT_EQ(platform::NativePath("a/b"), "a/b");
    EXPECT_EQ(platform::NativePath(nullptr), "");
}

TEST(PlatformFiles, OpenModesReadWriteSeekAndSize) {
    ScratchFolder scratch;
    const std::string path = scratch / "f.bin";
    EXPECT_EQ(platform::OpenFile(path.c_str(), platform::OpenMode::Read), platform::kNoFile);
    EXPECT_EQ(platform::OpenFile(path.c_str(), platform::OpenMode::ReadWrite), platform::kNoFile);

    platform::FileHandle file = platform::OpenFile(path.c_str(), platform::OpenMode::CreateAlways);
    ASSERT_NE(file, platform::kNoFile);
    EXPECT_EQ(platform::WriteFile(file, "hello world", 11), 11);
    EXPECT_EQ(platform::FileSize(file), 11);
    EXPECT_EQ(platform::SeekFile(file, 6, 0), 6);
    char buffer[16] = {};
    EXPECT_EQ(platform::ReadFile(file, buffer, 16), 5);
    EXPECT_STREQ(buffer, "world");
    EXPECT_EQ(platform::SeekFile(file, -5, 2), 6);
    EXPECT_EQ(platform::SeekFile(file, -1, 1), 5);
    EXPECT_EQ(platform::ReadFile(file, buffer, 0), 0);
    EXPECT_TRUE(platform::SyncFile(file));
    platform::CloseFile(file);

    file = platform::OpenFile(path.c_str(), platform::OpenMode::OpenAlways);  // keeps contents
    EXPECT_EQ(platform::FileSize(file), 11);
    platform::CloseFile(file);
    file = platform::OpenFile(path.c_str(), platform::OpenMode::CreateAlways);  // empties
    EXPECT_EQ(platform::FileSize(file), 0);
    platform::CloseFile(file);
    file = platform::OpenFile((scratch / "new.bin").c_str(), platform::OpenMode::OpenAlways);
    EXPECT_NE(file, platform::kNoFile);
    platform::CloseFile(file);

    EXPECT_EQ(platform::ReadFile(platform::kNoFile, buffer, 1), -1);
    EXPECT_EQ(platform::WriteFile(platform::kNoFile, buffer, 1), -1);
    EXPECT_EQ(platform::FileSize(platform::kNoFile), -1);
    platform::CloseFile(platform::kNoFile);
}

TEST(PlatformFiles, FoldersAreNotFiles) {
    ScratchFolder scratch;
    EXPECT_EQ(platform::OpenFile(scratch.path().c_str(), platform::OpenMode::Read),
              platform::kNoFile);
    EXPECT_FALSE(platform::FileExists(scratch.path().c_str()));
}

TEST(PlatformFiles, DeleteRenameAndExists) {
    ScratchFolder scratch;
    WriteText(scratch / "a", "A");
    EXPECT_TRUE(platform::FileExists((scratch / "a").c_str()));
    EXPECT_TRUE(platform::RenameFile((scratch / "a").c_str(), (scratch / "b").c_str()));
    EXPECT_FALSE(platform::FileExists((scratch / "a").c_str()));
    EXPECT_EQ(ReadText(scratch / "b"), "A");
    WriteText(scratch / "c", "C");
    EXPECT_TRUE(
        platform::RenameFile((scratch / "c").c_str(), (scratch / "b").c_str()));  // replaces
    EXPECT_EQ(ReadText(scratch / "b"), "C");
    EXPECT_TRUE(platform::DeleteFile((scratch / "b").c_str()));
    EXPECT_FALSE(platform::DeleteFile((scratch / "b").c_str()));
    EXPECT_FALSE(platform::FileExists(""));
}

TEST(PlatformFiles, PrivateDirectoryIsOursAndClosedToOthers) {
    ScratchFolder scratch;
    const std::string mine = scratch / "mine";
    ASSERT_TRUE(platform::MakePrivateDirectory(mine.c_str()));
    struct stat info;
    ASSERT_EQ(lstat(mine.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(platform::MakePrivateDirectory((mine + "/").c_str()));  // already ours

    const std::string open = scratch / "open";
    fs::create_directory(open);
    chmod(open.c_str(), 0755);
    EXPECT_FALSE(platform::MakePrivateDirectory(open.c_str()));
    const std::string link = scratch / "link";
    fs::create_directory_symlink(mine, link);
    EXPECT_FALSE(platform::MakePrivateDirectory(link.c_str()));
    WriteText(scratch / "file", "x");
    EXPECT_FALSE(platform::MakePrivateDirectory((scratch / "file").c_str()));

    EXPECT_TRUE(platform::RemoveDirectory(mine.c_str()));
    EXPECT_FALSE(Exists(mine));
    EXPECT_FALSE(platform::RemoveDirectory(open.c_str()) && Exists(open));
}

TEST(PlatformFiles, TempFolderFollowsTmpdirWithATrailingSlash) {
    const char* saved = std::getenv("TMPDIR");
    const std::string before = saved ? saved : "";
    setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(platform::TempFolder(), "/var/tmp/");
    setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(platform::TempFolder(), "/var/tmp/");
    unsetenv("TMPDIR");
    EXPECT_EQ(platform::TempFolder(), "/tmp/");
    setenv("TMPDIR", "", 1);
    EXPECT_EQ(platform::TempFolder(), "/tmp/");
    if (saved)
        setenv("TMPDIR", before.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

TEST(PlatformFiles, ProgramPathDirectoriesAndProcessId) {
    const std::string program = platform::ProgramPath();
    EXPECT_EQ(program, fs::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(platform::ProcessId(), static_cast<int>(getpid()));
    ScratchFolder scratch;
    const std::string before = platform::CurrentDirectory();
    ASSERT_TRUE(platform::ChangeDirectory(scratch.path().c_str()));
    EXPECT_EQ(fs::canonical(platform::CurrentDirectory()), fs::canonical(scratch.path()));
    EXPECT_FALSE(platform::ChangeDirectory((scratch / "missing").c_str()));
    ASSERT_TRUE(platform::ChangeDirectory(before.c_str()));
    EXPECT_EQ(platform::CurrentDirectory(), before);
}

TEST(PlatformFiles, StartProcessRunsTheCommandLineDetached) {
    ScratchFolder scratch;
    const std::string done = scratch / "done.txt";
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(platform::StartProcess(("sleep 0.3; echo \"it ran\" > '" + done + "'").c_str()));
    // The call does not wait for the command.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(250));
    for (int i = 0; i < 100 && ReadText(done) != "it ran\n"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadText(done), "it ran\n");
    EXPECT_FALSE(platform::StartProcess(""));
}

}  // namespace
