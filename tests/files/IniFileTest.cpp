// INI files: loading, case-insensitive lookup, writing back exactly, and the
// odd lines users write.
#include "FilesTestSupport.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/FileCommands.h"
#include "runtime/files/IniFile.h"
#include "runtime/files/Shoebox.h"
#include "runtime/files/ShoeboxPacker.h"
#include "runtime/runtime.h"

namespace {

using namespace filestest;

class IniFileTest : public ::testing::Test {
  protected:
    void TearDown() override {
        FlushIniFile();
        IniOpen(RtString(""));
    }
    RtString Path(const char* name) const { return RtString((scratch / name).c_str()); }
    std::string Get(const char* section, const char* key) {
        return IniGet(RtString(section), RtString(key)).CStr();
    }

    ScratchFolder scratch;
};

TEST_F(IniFileTest, LooksUpSectionsAndKeysIgnoringCase) {
    WriteText(scratch / "game.ini",
              "[Video]\r\nWidth=320\r\nFullScreen = 1\r\n[Sound]\nVolume=80\n");
    IniOpen(Path("game.ini"));
    EXPECT_EQ(Get("VIDEO", "width"), "320");
    EXPECT_EQ(Get("video", "FULLSCREEN"), "1");
    EXPECT_EQ(Get("Sound", "Volume"), "80");
    EXPECT_EQ(Get("Sound", "Width"), "NO_DATA");
    EXPECT_EQ(Get("Network", "Port"), "NO_DATA");
}

TEST_F(IniFileTest, OnlyTheFirstSectionOfANameCounts) {
    WriteText(scratch / "twice.ini", "[Player]\nName=Ann\n[Other]\nX=1\n[PLAYER]\nScore=12\n");
    IniOpen(Path("twice.ini"));
    EXPECT_EQ(Get("player", "Name"), "Ann");
    EXPECT_EQ(Get("player", "Score"), "NO_DATA");
}

TEST_F(IniFileTest, WhiteSpaceCommentsAndOddLines) {
    WriteText(scratch / "odd.ini",
              "top = above every section\n"
              "; a comment\n"
              "  [  Spaced Name  ]  \n"
              "\tkey\t=\t value with  inner  spaces \t\r\n"
              "no equals sign here\n"
              "=value without a key\n"
              "   ;indented comment=not a key\n"
              "empty=\n"
              "a=b=c\n"
              "[unclosed\n"
              "k=v\n");
    IniOpen(Path("odd.ini"));
    EXPECT_EQ(Get("", "top"), "above every section");
    EXPECT_EQ(Get("spaced name", "key"), "value with  inner  spaces");
    EXPECT_EQ(Get("spaced name", "no equals sign here"), "NO_DATA");
    EXPECT_EQ(Get("spaced name", ";indented comment"), "NO_DATA");
    EXPECT_EQ(Get("spaced name", "empty"), "");
    EXPECT_EQ(Get("spaced name", "a"), "b=c");
    EXPECT_EQ(Get("unclosed", "k"), "v");
}

TEST_F(IniFileTest, LongLinesAndManyLinesLoadWhole) {
    const std::string value(100000, 'v');
    std::string text = "[Big]\nlong=" + value + "\n";
    for (int i = 0; i < 2000; ++i)
        text += "key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    WriteText(scratch / "big.ini", text);
    IniOpen(Path("big.ini"));
    EXPECT_EQ(Get("big", "long"), value);
    EXPECT_EQ(Get("big", "key1999"), "1999");
}

TEST_F(IniFileTest, PutIntoANewSectionIsWrittenLastWhenAnotherFileOpens) {
    WriteText(scratch / "first.ini",
              "; comments are not kept\n[Video]\nWidth = 320\n\n[Sound]\nVolume=80\n");
    IniOpen(Path("first.ini"));
    IniPut(RtString("video"), RtString("WIDTH"), RtString("640"));
    IniPut(RtString("Players"), RtString("Count"), RtString("4"));
    IniPut(RtString("sound"), RtString("Muted"), RtString("0"));
    EXPECT_EQ(Get("PLAYERS", "count"), "4");
    IniOpen(Path("second.ini"));
    EXPECT_EQ(
        ReadText(scratch / "first.ini"),
        "[Video]\r\nWidth=640\r\n[Sound]\r\nVolume=80\r\nMuted=0\r\n[Players]\r\nCount=4\r\n");
    EXPECT_EQ(Get("video", "width"), "NO_DATA");
}

TEST_F(IniFileTest, UnchangedTableIsNotWrittenAndChangedOneIsAtTheEnd) {
    WriteText(scratch / "same.ini", "[A]\nx=1\n");
    IniOpen(Path("same.ini"));
    IniOpen(Path("other.ini"));
    EXPECT_EQ(ReadText(scratch / "same.ini"), "[A]\nx=1\n");
    EXPECT_FALSE(Exists(scratch / "other.ini"));
    IniPut(RtString("B"), RtString("y"), RtString("2"));
    FlushFileCommands();
    EXPECT_EQ(ReadText(scratch / "other.ini"), "[B]\r\ny=2\r\n");
}

TEST_F(IniFileTest, EntriesAboveTheFirstSectionGoBackAboveIt) {
    WriteText(scratch / "top.ini", "lonely=1\n[S]\nk=v\n");
    IniOpen(Path("top.ini"));
    IniPut(RtString("S"), RtString("k"), RtString("w"));
    FlushIniFile();
    EXPECT_EQ(ReadText(scratch / "top.ini"), "lonely=1\r\n[S]\r\nk=w\r\n");
    IniOpen(Path("top.ini"));
    EXPECT_EQ(Get("", "lonely"), "1");
    EXPECT_EQ(Get("s", "K"), "w");
}

TEST_F(IniFileTest, TableTextRoundTrips) {
    IniTable table;
    const std::string text = "[One]\r\na=1\r\nB=two words\r\n[Two]\r\nc=\r\n";
    table.Load(text.data(), text.size());
    EXPECT_EQ(table.Text(), text);
    ASSERT_NE(table.Find("one", "b"), nullptr);
    EXPECT_STREQ(table.Find("one", "b")->CStr(), "two words");
    EXPECT_EQ(table.Find("two", "a"), nullptr);
}

TEST_F(IniFileTest, ALineEndsAtItsFirstNulByte) {
    IniTable table;
    const std::string text("[Space\t\0\0 ]\nkey=va\0lue\nother\0=x\n", 32);
    table.Load(text.data(), text.size());
    ASSERT_EQ(table.sections.size(), 1u);
    EXPECT_STREQ(table.sections[0].name.CStr(), "Space");
    ASSERT_NE(table.Find("space", "key"), nullptr);
    EXPECT_STREQ(table.Find("space", "key")->CStr(), "va");
    EXPECT_EQ(table.Find("space", "other"), nullptr);
    EXPECT_EQ(table.Text(), "[Space]\r\nkey=va\r\n");
}

// Windows editors begin a UTF-8 file with EF BB BF.
TEST_F(IniFileTest, ByteOrderMarkIsNoPartOfTheFirstHeaderAndIsWrittenBack) {
    WriteText(scratch / "bom.ini", "\xEF\xBB\xBF[Video]\r\nWidth=640\r\n[Sound]\r\nVolume=1");
    IniOpen(Path("bom.ini"));
    EXPECT_EQ(Get("Video", "Width"), "640");
    EXPECT_EQ(Get("Sound", "Volume"), "1");
    IniPut(RtString("Sound"), RtString("Volume"), RtString("0.5"));
    FlushIniFile();
    EXPECT_EQ(ReadText(scratch / "bom.ini"),
              "\xEF\xBB\xBF[Video]\r\nWidth=640\r\n[Sound]\r\nVolume=0.5\r\n");

    // Entries above the first header, after the mark; a mark anywhere else
    // is an ordinary byte, and a file without one is written back without.
    WriteText(scratch / "top.ini", "\xEF\xBB\xBFtop=1\n[A]\n\xEF\xBB\xBF[B]\nb=2\n");
    IniOpen(Path("top.ini"));
    EXPECT_EQ(Get("", "top"), "1");
    EXPECT_EQ(Get("A", "b"), "2");  // "\xEF\xBB\xBF[B]" is no header, and is dropped
    EXPECT_EQ(Get("B", "b"), "NO_DATA");
    IniPut(RtString("A"), RtString("a"), RtString("1"));
    FlushIniFile();
    EXPECT_EQ(ReadText(scratch / "top.ini"), "\xEF\xBB\xBFtop=1\r\n[A]\r\nb=2\r\na=1\r\n");
    WriteText(scratch / "plain.ini", "[A]\nb=2\n");
    IniOpen(Path("plain.ini"));
    IniPut(RtString("A"), RtString("b"), RtString("3"));
    FlushIniFile();
    EXPECT_EQ(ReadText(scratch / "plain.ini"), "[A]\r\nb=3\r\n");

    // A first line that itself begins with the mark's bytes gets a mark
    // before it, so it loads again as it was.
    IniTable table;
    const std::string odd = "\n\xEF\xBB\xBFkey=1\n";
    table.Load(odd.data(), odd.size());
    EXPECT_FALSE(table.byteOrderMark);
    const std::string written = table.Text();
    EXPECT_EQ(written, "\xEF\xBB\xBF\xEF\xBB\xBFkey=1\r\n");
    table.Load(written.data(), written.size());
    ASSERT_NE(table.Find("", "\xEF\xBB\xBFkey"), nullptr);
    EXPECT_EQ(table.Text(), written);
}

TEST_F(IniFileTest, IniOpenResolvesThroughTheMediaShoebox) {
    std::vector<uint8_t> archive;
    std::string error;
    ASSERT_TRUE(PackShoebox({{"packed.ini", Bytes("[Game]\nLevel=3\n")}}, false, &archive, &error));
    WriteBytes(scratch / "media.sbx", archive);
    Shoebox* media = new Shoebox;
    SetShoeboxPath(media, (scratch / "media.sbx").c_str());
    gEngine.mediaShoebox = media;
    IniOpen(Path("packed.ini"));
    EXPECT_EQ(Get("game", "level"), "3");
    IniPut(RtString("Game"), RtString("Level"), RtString("4"));
    FlushIniFile();
    // Written under its own name, beside the game, not into the unpacked copy.
    EXPECT_EQ(ReadText(scratch / "packed.ini"), "[Game]\r\nLevel=4\r\n");
    gEngine.mediaShoebox = nullptr;
    ReleaseShoebox(media);
}

}  // namespace
