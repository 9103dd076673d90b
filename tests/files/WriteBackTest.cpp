// Nothing a player wrote is lost on write-back: INI and line files of any
// size and at any path length load whole and go back byte for byte, and a
// file that exists but cannot be read is never replaced.
#include <linux/capability.h>
#include <sys/syscall.h>

#include "FilesTestSupport.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/IniFile.h"
#include "runtime/files/LineFile.h"
#include "runtime/files/Shoebox.h"
#include "runtime/files/ShoeboxPacker.h"
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

}  // namespace
