// The eight file channels: byte-exact writes and reads, lines, seeking, and
// the runtime errors that end the program (3 past the end or on a closed
// channel, 7 for a bad channel number).
#include <cstdlib>

#include "FilesTestSupport.h"
#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/FileChannels.h"

namespace {

using namespace filestest;

// In a dying child: reports the recorded error as the process ends.
void ReportErrorAtExit() {
    std::atexit([] { std::fprintf(stderr, "runtime error %g\n", gEngine.errorNumber); });
}

class FileChannelsTest : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    void TearDown() override {
        for (int c = 0; c < 8; ++c) CloseFile(c);
    }
    RtString Path(const char* name) const { return RtString((scratch / name).c_str()); }

    ScratchFolder scratch;
};

TEST_F(FileChannelsTest, WritesEveryFormLittleEndian) {
    ASSERT_EQ(OpenFile(3, Path("out.bin"), 0), 1.0);
    WriteByte(3, 200);
    WriteByte(3, 256 + 7);  // only the low byte
    WriteWord(3, 0x1234);
    WriteLong(3, 4294967295.0);
    WriteLong(3, -2);
    WriteFloat(3, 1.5);
    WriteDouble(3, 1.0);
    WriteLine(3, RtString("abc"));
    WriteLineNumber(3, 2.5);
    CloseFile(3);
    const std::vector<uint8_t> expected = {0xC8, 0x07, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE,
                                           0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F, 0,    0,
                                           0,    0,    0,    0,    0xF0, 0x3F, 'a',  'b',  'c',
                                           '\r', '\n', '2',  '.',  '5',  '\r', '\n'};
    EXPECT_EQ(ReadBytes(scratch / "out.bin"), expected);
}

TEST_F(FileChannelsTest, ReadsEveryFormUnsigned) {
    WriteBytes(scratch / "in.bin",
               {200,  0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0xBF, 0x18,
                0x2D, 0x44, 0x54, 0xFB, 0x21, 0x09, 0x40, 'h',  'e',  'y',  '!'});
    ASSERT_EQ(OpenFile(0, Path("in.bin"), 1), 1.0);
    EXPECT_EQ(FileAtEnd(0), 0.0);
    EXPECT_EQ(ReadByte(0), 200.0);
    EXPECT_EQ(ReadWord(0), 65535.0 - 1);
    EXPECT_EQ(ReadLong(0), 4294967295.0);
    EXPECT_EQ(ReadFloat(0), -1.5);
    EXPECT_DOUBLE_EQ(ReadDouble(0), 3.141592653589793);
    EXPECT_STREQ(ReadText(0, 4).CStr(), "hey!");
    EXPECT_EQ(FileAtEnd(0), 1.0);
}

TEST_F(FileChannelsTest, ReadLineSplitsOnNewlinesAndEndsAtTheLastLine) {
    WriteText(scratch / "lines.txt", "first\r\nsecond\n\n  42.5\nlast");
    ASSERT_EQ(OpenFile(7, Path("lines.txt"), 1), 1.0);
    EXPECT_STREQ(ReadLine(7).CStr(), "first");
    EXPECT_STREQ(ReadLine(7).CStr(), "second");
    EXPECT_STREQ(ReadLine(7).CStr(), "");
    EXPECT_EQ(ReadLineNumber(7), 42.5);
    EXPECT_EQ(FileAtEnd(7), 0.0);
    EXPECT_STREQ(ReadLine(7).CStr(), "last");
    EXPECT_EQ(FileAtEnd(7), 1.0);
}

TEST_F(FileChannelsTest, ReadLineTakesAtMost1024BytesAndResumesAfterThem) {
    const std::string longLine(1500, 'x');
    WriteText(scratch / "long.txt", longLine + "\nnext\n");
    ASSERT_EQ(OpenFile(1, Path("long.txt"), 1), 1.0);
    const RtString first = ReadLine(1);
    EXPECT_EQ(first.Length(), 1024u);
    EXPECT_EQ(std::string(first.CStr()), std::string(1024, 'x'));
    EXPECT_EQ(ReadLine(1).Length(), 476u);
    EXPECT_STREQ(ReadLine(1).CStr(), "next");
    EXPECT_EQ(FileAtEnd(1), 1.0);
    // Binary reads go on from exactly where a line ended.
    WriteText(scratch / "mixed.txt", "ab\nZ");
    ASSERT_EQ(OpenFile(1, Path("mixed.txt"), 1), 1.0);
    EXPECT_STREQ(ReadLine(1).CStr(), "ab");
    EXPECT_EQ(ReadByte(1), 'Z');
}

TEST_F(FileChannelsTest, OpenWithModeZeroEmptiesAnExistingFile) {
    WriteText(scratch / "old.txt", "old contents");
    ASSERT_EQ(OpenFile(2, Path("old.txt"), 0), 1.0);
    CloseFile(2);
    EXPECT_EQ(ReadText(scratch / "old.txt"), "");
    EXPECT_EQ(OpenFile(2, Path("missing.txt"), 1), 0.0);
    EXPECT_EQ(OpenFile(2, Path("no/such/folder.txt"), 0), 0.0);
}

TEST_F(FileChannelsTest, ReopeningAChannelClosesItFirst) {
    WriteText(scratch / "a.txt", "A");
    WriteText(scratch / "b.txt", "B");
    ASSERT_EQ(OpenFile(4, Path("a.txt"), 1), 1.0);
    ASSERT_EQ(OpenFile(4, Path("b.txt"), 1), 1.0);
    EXPECT_EQ(ReadByte(4), 'B');
}

TEST_F(FileChannelsTest, SeekFromStartCurrentAndEnd) {
    WriteBytes(scratch / "seek.bin", {10, 11, 12, 13, 14, 15});
    ASSERT_EQ(OpenFile(5, Path("seek.bin"), 1), 1.0);
    SeekFile(5, 4, 0);
    EXPECT_EQ(ReadByte(5), 14.0);
    SeekFile(5, -3, 1);
    EXPECT_EQ(ReadByte(5), 12.0);
    SeekFile(5, -1, -1);
    EXPECT_EQ(ReadByte(5), 15.0);
    EXPECT_EQ(FileAtEnd(5), 1.0);
    SeekFile(5, 0, 0);
    EXPECT_EQ(FileAtEnd(5), 0.0);
}

TEST_F(FileChannelsTest, PathCommands) {
    WriteText(scratch / "sized.txt", "12345");
    EXPECT_EQ(FileSize(Path("sized.txt")), 5.0);
    EXPECT_EQ(FileSize(Path("missing.txt")), 0.0);
    DeleteFile(Path("sized.txt"));
    EXPECT_FALSE(Exists(scratch / "sized.txt"));
    const std::string before = CurrentDirectory().CStr();
    SetDirectory(RtString(scratch.path().c_str()));
    EXPECT_EQ(fs::canonical(CurrentDirectory().CStr()), fs::canonical(scratch.path()));
    SetDirectory(RtString(before.c_str()));
    EXPECT_EQ(std::string(CurrentDirectory().CStr()), before);
}

TEST_F(FileChannelsTest, BackslashesInPathsAreSeparators) {
    fs::create_directory(scratch / "sub");
    std::string path = scratch / "sub/x.txt";
    path[path.rfind('/')] = '\\';
    ASSERT_EQ(OpenFile(0, RtString(path.c_str()), 0), 1.0);
    WriteLine(0, RtString("y"));
    CloseFile(0);
    EXPECT_EQ(ReadText(scratch / "sub/x.txt"), "y\r\n");
}

using FileChannelsDeathTest = FileChannelsTest;

TEST_F(FileChannelsDeathTest, ReadingPastTheEndIsError3) {
    WriteBytes(scratch / "one.bin", {1});
    ASSERT_EQ(OpenFile(0, Path("one.bin"), 1), 1.0);
    EXPECT_EQ(ReadByte(0), 1.0);
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            ReadByte(0);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            ReadWord(0);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
    SeekFile(0, 0, 0);
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            ReadLong(0);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            ReadDouble(0);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
}

TEST_F(FileChannelsDeathTest, ReadTextBeyondTheFileIsError3WithoutReservingIt) {
    WriteText(scratch / "short.txt", "abc");
    ASSERT_EQ(OpenFile(0, Path("short.txt"), 1), 1.0);
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            ReadText(0, 4);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            ReadText(0, 4e9);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
    EXPECT_EQ(ReadText(0, 0).Length(), 0u);
    EXPECT_STREQ(ReadText(0, 3).CStr(), "abc");
}

TEST_F(FileChannelsDeathTest, AClosedChannelIsError3) {
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            ReadByte(6);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            ReadLine(6);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            WriteByte(6, 1);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
    EXPECT_EXIT(
        {
            ReportErrorAtExit();
            SeekFile(6, 0, 0);
        },
        testing::ExitedWithCode(0), "runtime error 3\n");
}

TEST_F(FileChannelsDeathTest, AChannelOutside0To7IsError7) {
    for (double channel : {8.0, -1.0, 1e12}) {
        EXPECT_EXIT(
            {
                ReportErrorAtExit();
                OpenFile(channel, Path("x"), 0);
            },
            testing::ExitedWithCode(0), "runtime error 7\n");
        EXPECT_EXIT(
            {
                ReportErrorAtExit();
                ReadByte(channel);
            },
            testing::ExitedWithCode(0), "runtime error 7\n");
        EXPECT_EXIT(
            {
                ReportErrorAtExit();
                FileAtEnd(channel);
            },
            testing::ExitedWithCode(0), "runtime error 7\n");
        EXPECT_EXIT(
            {
                ReportErrorAtExit();
                CloseFile(channel);
            },
            testing::ExitedWithCode(0), "runtime error 7\n");
    }
    // 7.9 truncates to 7, a good channel.
    EXPECT_EQ(OpenFile(7.9, Path("seven.txt"), 0), 1.0);
}

}  // namespace
