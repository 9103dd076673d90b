// Line files: reading lines by number, writing them back whole and safely,
// long lines, long files, bad line numbers.
#include "FilesTestSupport.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/FileCommands.h"
#include "runtime/files/FileReplace.h"
#include "runtime/files/LineFile.h"
#include "runtime/runtime.h"

namespace {

using namespace filestest;

class LineFileTest : public ::testing::Test {
  protected:
    void SetUp() override { gEngine.errorNumber = 0; }
    void TearDown() override { FlushLineFile(); }
    RtString Path(const char* name) const { return RtString((scratch / name).c_str()); }
    std::string Get(const char* name, double line, double* result = nullptr) {
        RtString text;
        const double status = GetFileLine(Path(name), line, text);
        if (result) *result = status;
        return text.CStr();
    }

    ScratchFolder scratch;
};

TEST_F(LineFileTest, GetsLinesByNumberWithoutTheirLineEnds) {
    WriteText(scratch / "lines.txt", "zero\r\none\n\n3.25\ttab\x01\r\n");
    double result = -1;
    EXPECT_EQ(Get("lines.txt", 0, &result), "zero");
    EXPECT_EQ(result, 1.0);
    EXPECT_EQ(Get("lines.txt", 1), "one");
    EXPECT_EQ(Get("lines.txt", 2, &result), "NO_DATA");
    EXPECT_EQ(result, 0.0);
    EXPECT_EQ(Get("lines.txt", 3), "3.25\ttab");  // trailing bytes below 32 go
    EXPECT_EQ(Get("lines.txt", 200, &result), "NO_DATA");
    EXPECT_EQ(result, 0.0);
    EXPECT_EQ(GetFileLineNumber(Path("lines.txt"), 3), 3.25);
}

TEST_F(LineFileTest, MissingFileGivesNoFile) {
    double result = 0;
    EXPECT_EQ(Get("missing.txt", 0, &result), "NO_FILE");
    EXPECT_NE(result, 0.0);
}

TEST_F(LineFileTest, LineNumbersOutside0To255AreError7AndNoData) {
    WriteText(scratch / "lines.txt", "zero\n");
    double result = 1;
    EXPECT_EQ(Get("lines.txt", 256, &result), "NO_DATA");
    EXPECT_EQ(gEngine.errorNumber, 7.0);
    gEngine.errorNumber = 0;
    EXPECT_EQ(Get("lines.txt", -1), "NO_DATA");
    EXPECT_EQ(gEngine.errorNumber, 7.0);
    gEngine.errorNumber = 0;
    PutFileLine(Path("lines.txt"), 256, RtString("x"));
    EXPECT_EQ(gEngine.errorNumber, 7.0);
    FlushLineFile();
    EXPECT_EQ(ReadText(scratch / "lines.txt"), "zero\n");  // nothing stored, nothing written
}

TEST_F(LineFileTest, PutLinesAreWrittenBackWhenAnotherFileIsNamed) {
    PutFileLine(Path("new.txt"), 0, RtString("alpha"));
    PutFileLineNumber(Path("new.txt"), 2, 7.5);
    EXPECT_EQ(Get("new.txt", 2), "7.5");
    EXPECT_FALSE(Exists(scratch / "new.txt"));  // not yet
    EXPECT_EQ(Get("other.txt", 0), "NO_FILE");
    EXPECT_EQ(ReadText(scratch / "new.txt"), "alpha\r\n\r\n7.5\r\n");
}

TEST_F(LineFileTest, ChangedBufferIsWrittenBackAtTheEnd) {
    WriteText(scratch / "keep.txt", "a\nb\nc\n");
    PutFileLine(Path("keep.txt"), 1, RtString("B"));
    FlushFileCommands();
    EXPECT_EQ(ReadText(scratch / "keep.txt"), "a\r\nB\r\nc\r\n");
    // An unchanged buffer is left alone.
    WriteText(scratch / "keep.txt", "untouched\n");
    FlushFileCommands();
    EXPECT_EQ(ReadText(scratch / "keep.txt"), "untouched\n");
}

TEST_F(LineFileTest, LongLinesAreKeptWhole) {
    const std::string longLine(5000, 'L');
    WriteText(scratch / "long.txt", "short\n" + longLine + "\nend\n");
    EXPECT_EQ(Get("long.txt", 1), longLine);
    EXPECT_EQ(Get("long.txt", 2), "end");
    const std::string longer(3000, 'M');
    PutFileLine(Path("long.txt"), 0, RtString(longer.c_str()));
    FlushLineFile();
    EXPECT_EQ(ReadText(scratch / "long.txt"), longer + "\r\n" + longLine + "\r\nend\r\n");
}

TEST_F(LineFileTest, LinesBeyondThe256thSurviveAWriteBack) {
    std::string contents, expected;
    for (int i = 0; i < 300; ++i) {
        contents += "line " + std::to_string(i) + "\n";
        expected += (i == 5 ? std::string("changed") : "line " + std::to_string(i)) + "\r\n";
    }
    WriteText(scratch / "many.txt", contents);
    EXPECT_EQ(Get("many.txt", 255), "line 255");
    PutFileLine(Path("many.txt"), 5, RtString("changed"));
    FlushLineFile();
    EXPECT_EQ(ReadText(scratch / "many.txt"), expected);
}

TEST_F(LineFileTest, WriteBackThatCannotCompleteKeepsTheOldFile) {
    // The target is a folder: the new file is written, but cannot take its
    // name; the folder stays and no stray file is left beside it.
    fs::create_directory(scratch / "taken");
    WriteText(scratch / "taken/inside.txt", "old");
    EXPECT_FALSE(ReplaceFileContents((scratch / "taken").c_str(), "new"));
    EXPECT_EQ(ReadText(scratch / "taken/inside.txt"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);
    // A folder that does not exist: nothing is created.
    EXPECT_FALSE(ReplaceFileContents((scratch / "none/x.txt").c_str(), "new"));
    // Success leaves just the file, replaced whole.
    WriteText(scratch / "s.ini", "old contents that are longer");
    EXPECT_TRUE(ReplaceFileContents((scratch / "s.ini").c_str(), "new"));
    EXPECT_EQ(ReadText(scratch / "s.ini"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 2);
}

// Windows editors begin a UTF-8 file with EF BB BF.
TEST_F(LineFileTest, ByteOrderMarkIsNoPartOfTheFirstLineAndIsWrittenBack) {
    WriteText(scratch / "bom.txt",
              "\xEF\xBB\xBF"
              "first\r\nsecond\r\n\xEF\xBB\xBFthird");
    EXPECT_EQ(Get("bom.txt", 0), "first");
    EXPECT_EQ(GetFileLineNumber(Path("bom.txt"), 0), 0);
    EXPECT_EQ(Get("bom.txt", 2), "\xEF\xBB\xBFthird");  // only a leading mark is one
    PutFileLine(Path("bom.txt"), 1, RtString("2nd"));
    FlushLineFile();
    EXPECT_EQ(ReadText(scratch / "bom.txt"),
              "\xEF\xBB\xBF"
              "first\r\n2nd\r\n\xEF\xBB\xBFthird\r\n");

    WriteText(scratch / "number.txt",
              "\xEF\xBB\xBF"
              "42\n");
    EXPECT_EQ(GetFileLineNumber(Path("number.txt"), 0), 42);
    // A file of the mark alone has no lines; a file without one gets none.
    WriteText(scratch / "mark.txt", "\xEF\xBB\xBF");
    EXPECT_EQ(Get("mark.txt", 0), "NO_DATA");
    PutFileLine(Path("mark.txt"), 1, RtString("one"));
    FlushLineFile();
    EXPECT_EQ(ReadText(scratch / "mark.txt"), "\xEF\xBB\xBF\r\none\r\n");
    PutFileLine(Path("plain.txt"), 0, RtString("zero"));
    FlushLineFile();
    EXPECT_EQ(ReadText(scratch / "plain.txt"), "zero\r\n");

    // A first line put with the mark's bytes at its start gets a mark before
    // it, so it reads back as it was put.
    PutFileLine(Path("plain.txt"), 0, RtString("\xEF\xBB\xBFzero"));
    FlushLineFile();
    EXPECT_EQ(ReadText(scratch / "plain.txt"), "\xEF\xBB\xBF\xEF\xBB\xBFzero\r\n");
    EXPECT_EQ(Get("other.txt", 0), "NO_FILE");
    EXPECT_EQ(Get("plain.txt", 0), "\xEF\xBB\xBFzero");
}

}  // namespace
