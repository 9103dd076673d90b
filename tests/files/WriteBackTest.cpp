// Nothing a player wrote is lost on write-back: INI and line files of any
// size, at any path length and with names as long as the system allows load
// whole and go back byte for byte with their permissions, a file that exists
// but cannot be read is never replaced, and a write-back that cannot complete
// keeps the old file and says why in the error log.
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <cerrno>

#include "FilesTestSupport.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/IniFile.h"
#include "runtime/files/LineFile.h"
#include "runtime/files/Shoebox.h"
#include "runtime/files/ShoeboxPacker.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"

namespace {

using namespace filestest;

// Root reads every file whatever its mode; without these two capabilities
// the owner's mode bits apply to it as to anyone.
class WithoutPermissionOverride {
  public:
    WithoutPermissionOverride() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
            reduced[cap / 32].effective &= ~(1u << (cap % 32));
        dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutPermissionOverride() {
        if (dropped_) syscall(SYS_capset, &header_, saved_);
    }

  private:
    __user_cap_header_struct header_ = {};
    __user_cap_data_struct saved_[2] = {};
    bool dropped_ = false;
};

class WriteBackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The media shoebox is set, as it is in every running game.
        gEngine.mediaShoebox = new Shoebox;
        SetShoeboxPath(gEngine.mediaShoebox, scratch.path().c_str());
        DeleteErrorLog();
    }
    void TearDown() override {
        FlushIniFile();
        IniOpen(RtString(""));
        FlushLineFile();
        ReleaseShoebox(gEngine.mediaShoebox);
        gEngine.mediaShoebox = nullptr;
    }
    std::string Get(const char* section, const char* key) {
        return IniGet(RtString(section), RtString(key)).CStr();
    }
    std::string Line(const std::string& path, double line) {
        RtString text;
        GetFileLine(RtString(path.c_str()), line, text);
        return text.CStr();
    }
    size_t FilesInScratch() const {
        return static_cast<size_t>(
            std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()));
    }

    ScratchFolder scratch;
};

// The text the table writes back, so a file in it must come back unchanged.
std::string BigIni(size_t atLeast) {
    std::string text = "[Keep]\r\nold=1\r\n";
    const std::string value(9000, 'v');
    for (int i = 0; text.size() < atLeast; ++i) {
        if (i % 100 == 0) text += "[Section" + std::to_string(i / 100) + "]\r\n";
        text += "key" + std::to_string(i) + "=" + value + std::to_string(i) + "\r\n";
    }
    return text + "[Last]\r\nend=here\r\n";
}

TEST_F(WriteBackTest, IniFileOver16MiBLoadsWholeAndGoesBackByteForByte) {
    const std::string path = scratch / "big.ini";
    const std::string original = BigIni(17826740);
    WriteText(path, original);
    IniOpen(RtString(path.c_str()));
    EXPECT_EQ(Get("Keep", "old"), "1");
    EXPECT_EQ(Get("last", "END"), "here");
    IniPut(RtString("Last"), RtString("end"), RtString("here"));  // changed, same text
    FlushIniFile();
    EXPECT_TRUE(ReadText(path) == original);
    EXPECT_EQ(ReadText(ErrorLogPath()), "");
}

TEST_F(WriteBackTest, LineFileOver64MiBLoadsWholeAndGoesBackByteForByte) {
    const std::string path = scratch / "big.txt";
    std::string original;
    const std::string filler(250000, 'x');
    for (int i = 0; original.size() <= (size_t{64} << 20) + 4096; ++i)
        original += "line " + std::to_string(i) + filler + "\r\n";
    WriteText(path, original);
    EXPECT_EQ(Line(path, 255).substr(0, 9), "line 255x");
    PutFileLine(RtString(path.c_str()), 0, RtString(("line 0" + filler).c_str()));
    FlushLineFile();
    EXPECT_TRUE(ReadText(path) == original);
}

TEST_F(WriteBackTest, IniFileWhosePathIsLongerThan1023CharactersKeepsItsValues) {
    std::string folder = scratch.path();
    while (folder.size() < 1100) {
        folder += "/" + std::string(200, 'd');
        fs::create_directory(folder);
    }
    const std::string path = folder + "/settings.ini";
    WriteText(path, "[Keep]\r\nold=1\r\n");
    IniOpen(RtString(path.c_str()));
    EXPECT_EQ(Get("Keep", "old"), "1");
    IniPut(RtString("New"), RtString("x"), RtString("2"));
    FlushIniFile();
    EXPECT_EQ(ReadText(path), "[Keep]\r\nold=1\r\n[New]\r\nx=2\r\n");
}

TEST_F(WriteBackTest, IniFileThatCannotBeReadIsNeverReplaced) {
    const std::string path = scratch / "locked.ini";
    const std::string original = "[Keep]\r\nold=1\r\n";
    WriteText(path, original);
    fs::permissions(path, fs::perms::owner_write);
    {
        WithoutPermissionOverride asAPlayer;
        IniOpen(RtString(path.c_str()));
        EXPECT_EQ(Get("Keep", "old"), "NO_DATA");
        IniPut(RtString("Score"), RtString("best"), RtString("7"));
        FlushIniFile();
        IniOpen(RtString((scratch / "other.ini").c_str()));  // would write the table back too
    }
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadText(path), original);
    EXPECT_EQ(ReadText(ErrorLogPath()),
              "IniOpen: cannot read " + path + "; it will not be written back\r\n");
}

TEST_F(WriteBackTest, LineFileThatCannotBeReadIsNeverReplaced) {
    const std::string path = scratch / "locked.txt";
    const std::string original = "first\r\nsecond\r\n";
    WriteText(path, original);
    fs::permissions(path, fs::perms::owner_write);
    {
        WithoutPermissionOverride asAPlayer;
        EXPECT_EQ(Line(path, 0), "NO_FILE");
        PutFileLine(RtString(path.c_str()), 0, RtString("replaced"));
        FlushLineFile();
        EXPECT_EQ(Line(scratch / "other.txt", 0), "NO_FILE");  // would write the buffer back too
    }
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadText(path), original);
    EXPECT_EQ(ReadText(ErrorLogPath()),
              "Line file: cannot read " + path + "; it will not be written back\r\n");
}

// A folder where the file should be is no file to read, and stays as it is.
TEST_F(WriteBackTest, FolderInTheWayIsLeftAlone) {
    fs::create_directory(scratch / "taken.ini");
    WriteText(scratch / "taken.ini/inside", "kept");
    IniOpen(RtString((scratch / "taken.ini").c_str()));
    IniPut(RtString("A"), RtString("b"), RtString("c"));
    FlushIniFile();
    EXPECT_TRUE(fs::is_directory(scratch / "taken.ini"));
    EXPECT_EQ(ReadText(scratch / "taken.ini/inside"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
}

// A plain file that cannot be read is not passed over for an archive member
// of the same name, whose values would then replace it.
TEST_F(WriteBackTest, UnreadablePlainFileIsNotReplacedByTheArchiveCopy) {
    std::vector<uint8_t> archive;
    std::string error;
    ASSERT_TRUE(PackShoebox({{"game.ini", Bytes("[Mine]\nscore=0\n")}}, false, &archive, &error));
    WriteBytes(scratch / "media.sbx", archive);
    SetShoeboxPath(gEngine.mediaShoebox, (scratch / "media.sbx").c_str());
    const std::string path = scratch / "game.ini";
    WriteText(path, "[Mine]\r\nscore=99\r\n");
    fs::permissions(path, fs::perms::owner_write);
    {
        WithoutPermissionOverride asAPlayer;
        IniOpen(RtString(path.c_str()));
        IniPut(RtString("Mine"), RtString("score"), RtString("1"));
        FlushIniFile();
    }
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadText(path), "[Mine]\r\nscore=99\r\n");
}

// Linux allows names of 255 bytes; the fresh file beside the old one must
// fit whatever the old name's length.
TEST_F(WriteBackTest, FilesWithNamesAsLongAsTheSystemAllowsAreWrittenBack) {
    for (size_t length : {250u, 255u}) {
        const std::string ini = scratch / (std::string(length - 4, 'i') + ".ini");
        ASSERT_EQ(fs::path(ini).filename().string().size(), length);
        WriteText(ini, "[Keep]\r\nold=1\r\n");
        IniOpen(RtString(ini.c_str()));
        EXPECT_EQ(Get("Keep", "old"), "1");
        IniPut(RtString("New"), RtString("x"), RtString("2"));
        IniOpen(RtString((scratch / "other.ini").c_str()));  // writes the table back
        EXPECT_EQ(ReadText(ini), "[Keep]\r\nold=1\r\n[New]\r\nx=2\r\n") << length;

        const std::string lines = scratch / (std::string(length - 4, 'l') + ".txt");
        WriteText(lines, "first\r\nsecond\r\n");
        EXPECT_EQ(Line(lines, 0), "first");
        PutFileLine(RtString(lines.c_str()), 1, RtString("2nd"));
        PutFileLine(RtString(lines.c_str()), 2, RtString("third"));
        EXPECT_EQ(Line(scratch / "other.txt", 0), "NO_FILE");  // writes the buffer back
        EXPECT_EQ(ReadText(lines), "first\r\n2nd\r\nthird\r\n") << length;

        EXPECT_EQ(FilesInScratch(), 2u);  // nothing left beside them
        EXPECT_EQ(ReadText(ErrorLogPath()), "");
        fs::remove(ini);
        fs::remove(lines);
    }
}

struct ForcedFailure {
    platform::FileCall call;
    int error;
    const char* logged;  // the reason the error log gives
};

const ForcedFailure kForcedFailures[] = {
    {platform::FileCall::CreateBeside, EACCES,
     "no new file could be made beside it (Permission denied)"},
    {platform::FileCall::Write, ENOSPC,
     "the new file could not be written whole (No space left on device)"},
    {platform::FileCall::Sync, EIO,
     "the new file could not be brought to the disk (Input/output error)"},
    {platform::FileCall::Rename, EXDEV,
     "the new file could not take the old one's name (Invalid cross-device link)"},
};

// The tests run as root, where permissions make nothing fail: each step of
// the write-back is made to fail as the system would fail it.
TEST_F(WriteBackTest, WriteBackThatCannotCompleteKeepsTheOldFileAndLogsOneLine) {
    const std::string ini = scratch / (std::string(246, 'i') + ".ini");
    const std::string lines = scratch / (std::string(246, 'l') + ".txt");
    const std::string oldIni = "[Keep]\r\nold=1\r\n", oldLines = "first\r\nsecond\r\n";
    for (const ForcedFailure& failure : kForcedFailures) {
        WriteText(ini, oldIni);
        WriteText(lines, oldLines);
        DeleteErrorLog();

        IniOpen(RtString(ini.c_str()));
        IniPut(RtString("Keep"), RtString("old"), RtString("2"));
        platform::FailNextFileCall(failure.call, failure.error);
        FlushIniFile();
        EXPECT_EQ(ReadText(ini), oldIni) << failure.logged;

        PutFileLine(RtString(lines.c_str()), 0, RtString("changed"));
        platform::FailNextFileCall(failure.call, failure.error);
        FlushLineFile();
        EXPECT_EQ(ReadText(lines), oldLines) << failure.logged;

        EXPECT_EQ(ReadText(ErrorLogPath()),
                  "INI file: cannot write back " + ini + ": " + failure.logged + "\r\n" +
                      "Line file: cannot write back " + lines + ": " + failure.logged + "\r\n");
        EXPECT_EQ(FilesInScratch(), 2u) << failure.logged;  // no stray new file

        // The changes are still waiting: the next write-back completes.
        FlushIniFile();
        FlushLineFile();
        EXPECT_EQ(ReadText(ini), "[Keep]\r\nold=2\r\n");
        EXPECT_EQ(ReadText(lines), "changed\r\nsecond\r\n");
        Line(scratch / "unbind.txt", 0);
        IniOpen(RtString(""));
    }
}

// A table or buffer bound to no file name has nowhere to go; that is said too.
TEST_F(WriteBackTest, ChangesWithNoFileNameAreLogged) {
    IniOpen(RtString(""));
    IniPut(RtString("A"), RtString("b"), RtString("c"));
    FlushIniFile();
    PutFileLine(RtString(""), 0, RtString("line"));
    FlushLineFile();
    EXPECT_EQ(ReadText(ErrorLogPath()),
              "INI file: cannot write back : the file has no name\r\n"
              "Line file: cannot write back : the file has no name\r\n");
    EXPECT_EQ(FilesInScratch(), 0u);
    IniOpen(RtString((scratch / "unbind.ini").c_str()));
    Line(scratch / "unbind.txt", 0);
}

mode_t ModeOf(const std::string& path) {
    struct stat info = {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Restores the process's file mode mask when the test ends.
class WithUmask {
  public:
    explicit WithUmask(mode_t mask) : saved_(umask(mask)) {}
    ~WithUmask() { umask(saved_); }

  private:
    mode_t saved_;
};

TEST_F(WriteBackTest, ReplacementKeepsThePermissionBitsWhateverTheUmask) {
    WithUmask strict(077);
    for (mode_t mode : {0600, 0640, 0644, 0604, 0666, 0400}) {
        const std::string ini = scratch / "private.ini", lines = scratch / "private.txt";
        WriteText(ini, "[A]\r\nb=1\r\n");
        WriteText(lines, "one\r\n");
        ASSERT_EQ(chmod(ini.c_str(), mode), 0);
        ASSERT_EQ(chmod(lines.c_str(), mode), 0);
        IniOpen(RtString(ini.c_str()));
        IniPut(RtString("A"), RtString("b"), RtString("2"));
        FlushIniFile();
        PutFileLine(RtString(lines.c_str()), 0, RtString("two"));
        FlushLineFile();
        EXPECT_EQ(ReadText(ini), "[A]\r\nb=2\r\n");
        EXPECT_EQ(ReadText(lines), "two\r\n");
        EXPECT_EQ(ModeOf(ini), mode) << std::oct << mode;
        EXPECT_EQ(ModeOf(lines), mode) << std::oct << mode;
        IniOpen(RtString(""));
        Line(scratch / "unbind.txt", 0);
        fs::remove(ini);
        fs::remove(lines);
    }
    // A file made new takes the mode the mask leaves, as any new file does.
    WithUmask usual(022);
    PutFileLine(RtString((scratch / "new.txt").c_str()), 0, RtString("x"));
    FlushLineFile();
    EXPECT_EQ(ModeOf(scratch / "new.txt"), 0644u);
}

TEST_F(WriteBackTest, ReplacementKeepsTheOwnerAndGroupWherePermitted) {
    const std::string ini = scratch / "theirs.ini";
    WriteText(ini, "[A]\r\nb=1\r\n");
    if (chown(ini.c_str(), 4321, 8765) != 0) GTEST_SKIP() << "only root may give a file away";
    IniOpen(RtString(ini.c_str()));
    IniPut(RtString("A"), RtString("b"), RtString("2"));
    FlushIniFile();
    struct stat info = {};
    ASSERT_EQ(stat(ini.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
    EXPECT_EQ(ReadText(ini), "[A]\r\nb=2\r\n");
}

}  // namespace
