// The archive packer as a user runs it: pack, list, extract, and append to a
// copy of a real executable, which must still run and still resolve members.
#include "FilesTestSupport.h"
#include "runtime/files/Shoebox.h"

namespace {

using namespace filestest;

class SbpackTool : public ::testing::Test {
  protected:
    void SetUp() override {
        tool = SbpackPath();
        ASSERT_FALSE(tool.empty()) << "sbpack must be built beside the tests";
        WriteBytes(scratch / "Face.PNG", face);
        WriteText(scratch / "notes.txt", "line one\nline two\n");
        box = new Shoebox;
    }
    void TearDown() override { ReleaseShoebox(box); }

    int Sbpack(const std::string& arguments) {
        return RunCommand(Quoted(tool) + " " + arguments + " >" + Quoted(scratch / "out.txt") +
                          " 2>&1");
    }
    std::string Find(const std::string& name) {
        std::vector<char> output(1024);
        return ShoeboxFind(box, name.c_str(), output.data(), output.size()) ? output.data() : "";
    }

    ScratchFolder scratch;
    std::string tool;
    Shoebox* box = nullptr;
    const std::vector<uint8_t> face = NoiseBytes(70000, 11);
};

TEST_F(SbpackTool, PacksListsAndExtracts) {
    ASSERT_EQ(Sbpack("pack " + Quoted(scratch / "media.sbx") + " " + Quoted(scratch / "Face.PNG") +
                     " " + Quoted(scratch / "notes.txt")),
              0);
    ASSERT_EQ(Sbpack("list " + Quoted(scratch / "media.sbx")), 0);
    const std::string listing = ReadText(scratch / "out.txt");
    EXPECT_NE(listing.find("Face.PNG\t"), std::string::npos) << listing;
    EXPECT_NE(listing.find("\t70000\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("notes.txt\t"), std::string::npos) << listing;
    EXPECT_NE(listing.find("\t18\n"), std::string::npos) << listing;

    ASSERT_EQ(Sbpack("extract " + Quoted(scratch / "media.sbx") + " FACE.png " +
                     Quoted(scratch / "again.png")),
              0);
    EXPECT_EQ(ReadBytes(scratch / "again.png"), face);

    SetShoeboxPath(box, (scratch / "media.sbx").c_str());
    fs::remove(scratch / "notes.txt");
    EXPECT_EQ(ReadText(Find("sub/NOTES.TXT")), "line one\nline two\n");
}

TEST_F(SbpackTool, AppendsToACopyOfAnExecutableThatStillRuns) {
    const std::string game = scratch / "game";
    fs::copy_file("/bin/true", game);
    const auto before = fs::file_size(game);
    ASSERT_EQ(Sbpack("append " + Quoted(game) + " " + Quoted(scratch / "Face.PNG") + " " +
                     Quoted(scratch / "notes.txt")),
              0);
    EXPECT_GT(fs::file_size(game), before);
    EXPECT_EQ(RunCommand(Quoted(game)), 0);

    SetShoeboxPath(box, game.c_str());
    fs::remove(scratch / "Face.PNG");
    const std::string path = Find("vux/face.png");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(ReadBytes(path), face);
    ASSERT_EQ(Sbpack("list " + Quoted(game)), 0);
    EXPECT_NE(ReadText(scratch / "out.txt").find("Face.PNG"), std::string::npos);
}

TEST_F(SbpackTool, ReportsBadUse) {
    EXPECT_NE(Sbpack("list " + Quoted(scratch / "notes.txt")), 0);
    EXPECT_NE(ReadText(scratch / "out.txt").find("no archive"), std::string::npos);
    EXPECT_NE(Sbpack("extract " + Quoted(scratch / "notes.txt") + " x"), 0);
    EXPECT_NE(Sbpack("pack " + Quoted(scratch / "a.sbx") + " " + Quoted(scratch / "missing")), 0);
    EXPECT_NE(Sbpack("append " + Quoted(scratch / "missing") + " " + Quoted(scratch / "notes.txt")),
              0);
    EXPECT_NE(Sbpack("frobnicate"), 0);
}

}  // namespace
