// Media name resolution through the shoebox: plain files, archive members,
// the pending unpacked file, disabled search, hostile archives.
#include <lzo/lzo1x.h>
#include <sys/stat.h>

#include <cstring>

#include "FilesTestSupport.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/Shoebox.h"
#include "runtime/files/ShoeboxPacker.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"

namespace {

using namespace filestest;

// Archives assembled field by field, independently of the packer, so the
// tests can also make the malformed ones no packer would write.
struct HandEntry {
    std::string name;
    int32_t offset;
    uint32_t storedSize;
};

void Le32(std::vector<uint8_t>* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> LzoBlock(const std::vector<uint8_t>& bytes) {
    EXPECT_EQ(lzo_init(), LZO_E_OK);
    std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
    std::vector<uint8_t> packed(bytes.size() + bytes.size() / 16 + 67);
    lzo_uint size = 0;
    lzo1x_1_compress(bytes.data(), bytes.size(), packed.data(), &size, work.data());
    std::vector<uint8_t> block;
    Le32(&block, static_cast<uint32_t>(bytes.size()));
    block.insert(block.end(), packed.begin(), packed.begin() + static_cast<long>(size));
    return block;
}

void AppendDirectory(std::vector<uint8_t>* out, const std::vector<HandEntry>& entries) {
    for (const HandEntry& e : entries) {
        out->push_back(static_cast<uint8_t>(e.name.size()));
        out->insert(out->end(), e.name.begin(), e.name.end());
        Le32(out, static_cast<uint32_t>(e.offset));
        Le32(out, e.storedSize);
    }
    out->push_back(0);
}

void AppendTrailer(std::vector<uint8_t>* out, int32_t directoryOffset) {
    out->insert(out->end(), {'s', 'b', 'X'});
    Le32(out, static_cast<uint32_t>(directoryOffset));
}

std::vector<uint8_t> PackOrDie(const std::vector<ShoeboxMemberInput>& members, bool fromEnd) {
    std::vector<uint8_t> archive;
    std::string error;
    EXPECT_TRUE(PackShoebox(members, fromEnd, &archive, &error)) << error;
    return archive;
}

class ShoeboxTest : public ::testing::Test {
  protected:
    void SetUp() override { box = new Shoebox; }
    void TearDown() override { ReleaseShoebox(box); }

    int Find(const std::string& name, size_t outputSize = 1024) {
        output.assign(outputSize, '?');
        return ShoeboxFind(box, name.c_str(), output.data(), output.size());
    }
    std::string Output() const { return output.data(); }

    ScratchFolder scratch;
    Shoebox* box = nullptr;
    std::vector<char> output;
    const std::vector<uint8_t> face = NoiseBytes(5000, 1);
    const std::vector<uint8_t> song = Bytes(std::string(20000, 'a') + "tail");
};

TEST_F(ShoeboxTest, FindsMembersByTheirFileNameIgnoringCaseAndFolders) {
    const std::string archive = scratch / "media.sbx";
    WriteBytes(archive, PackOrDie({{"Face.PNG", face}, {"song.wav", song}}, false));
    SetShoeboxPath(box, archive.c_str());

    ASSERT_EQ(Find("vux/sub\\FACE.png"), 1);
    const std::string path = Output();
    EXPECT_EQ(path.rfind(ShoeboxTempFolder(), 0), 0u) << path;
    EXPECT_EQ(ReadBytes(path), face);
    ASSERT_EQ(Find("SONG.WAV"), 1);
    EXPECT_EQ(ReadBytes(Output()), song);
    EXPECT_EQ(box->enabled, 1);
}

TEST_F(ShoeboxTest, UnpackedNameIsSbxTwoLettersAndTheMemberName) {
    // Member 0 starts at offset 0 ("A"); its stored size is read back from the
    // directory bytes themselves.
    const std::string archive = scratch / "media.sbx";
    const std::vector<uint8_t> bytes = PackOrDie({{"Face.PNG", face}}, false);
    WriteBytes(archive, bytes);
    const size_t directory =
        bytes[bytes.size() - 4] | (bytes[bytes.size() - 3] << 8) | (bytes[bytes.size() - 2] << 16);
    const uint8_t storedLow = bytes[directory + 1 + 8 + 4];
    const std::string expected =
        std::string("sbxA") + static_cast<char>('A' + storedLow % 26) + "Face.PNG";
    SetShoeboxPath(box, archive.c_str());
    ASSERT_EQ(Find("face.png"), 1);
    const std::string path = Output();
    EXPECT_EQ(path.substr(path.size() - expected.size()), expected);
    EXPECT_EQ(path.substr(0, path.size() - expected.size()), ShoeboxTempFolder());
}

TEST_F(ShoeboxTest, PlainFilesWinAndComeBackUnchanged) {
    const std::string archive = scratch / "media.sbx";
    WriteBytes(archive, PackOrDie({{"Face.PNG", face}}, false));
    fs::create_directory(scratch / "vux");
    WriteText(scratch / "vux/Face.PNG", "plain");
    SetShoeboxPath(box, archive.c_str());

    const std::string plain = scratch / "vux/Face.PNG";
    ASSERT_EQ(Find(plain), 1);
    EXPECT_EQ(Output(), plain);
    // Backslashes are separators too; the name comes back as given.
    std::string windowsStyle = plain;
    windowsStyle[windowsStyle.rfind('/')] = '\\';
    ASSERT_EQ(Find(windowsStyle), 1);
    EXPECT_EQ(Output(), windowsStyle);
    EXPECT_TRUE(box->pendingFile[0] == 0);
}

TEST_F(ShoeboxTest, NameAndOutputMayShareOneBuffer) {
    const std::string archive = scratch / "media.sbx";
    WriteBytes(archive, PackOrDie({{"Face.PNG", face}}, false));
    SetShoeboxPath(box, archive.c_str());
    char buffer[512] = "some/where/face.png";
    ASSERT_EQ(ShoeboxFind(box, buffer, buffer, sizeof buffer), 1);
    EXPECT_EQ(ReadBytes(buffer), face);
}

TEST_F(ShoeboxTest, PendingFileIsDeletedByTheNextLookupEvenAMiss) {
    const std::string archive = scratch / "media.sbx";
    WriteBytes(archive, PackOrDie({{"Face.PNG", face}, {"song.wav", song}}, false));
    SetShoeboxPath(box, archive.c_str());
    ASSERT_EQ(Find("face.png"), 1);
    const std::string first = Output();
    EXPECT_STREQ(box->pendingFile, first.c_str());
    ASSERT_TRUE(Exists(first));
    ASSERT_EQ(Find("song.wav"), 1);
    EXPECT_FALSE(Exists(first));
    const std::string second = Output();
    EXPECT_EQ(Find("missing.png"), 0);
    EXPECT_EQ(Output(), "");
    EXPECT_FALSE(Exists(second));
    EXPECT_EQ(box->pendingFile[0], 0);
}

TEST_F(ShoeboxTest, ReleaseAndSetShoeboxDeleteThePendingFile) {
    const std::string archive = scratch / "media.sbx";
    WriteBytes(archive, PackOrDie({{"Face.PNG", face}}, false));
    SetShoeboxPath(box, archive.c_str());
    ASSERT_EQ(Find("face.png"), 1);
    std::string pending = Output();
    SetShoeboxPath(box, archive.c_str());
    EXPECT_FALSE(Exists(pending));
    ASSERT_EQ(Find("face.png"), 1);
    pending = Output();
    ReleaseShoebox(box);
    box = nullptr;
    EXPECT_FALSE(Exists(pending));
}

TEST_F(ShoeboxTest, SetShoeboxPointsBothEngineInstances) {
    const std::string media = scratch / "media.sbx", movie = scratch / "movie.sbx";
    WriteBytes(media, PackOrDie({{"Face.PNG", face}}, false));
    WriteBytes(movie, PackOrDie({{"intro.avi", song}}, false));
    Shoebox* movieBox = new Shoebox;
    gEngine.mediaShoebox = box;
    gEngine.movieShoebox = movieBox;
    box->enabled = 0;
    movieBox->enabled = 0;
    SetShoebox(RtString(media.c_str()), RtString(movie.c_str()));
    EXPECT_STREQ(box->archivePath, media.c_str());
    EXPECT_STREQ(movieBox->archivePath, movie.c_str());
    EXPECT_EQ(box->enabled, 1);
    EXPECT_EQ(movieBox->enabled, 1);
    std::vector<char> path(1024);
    EXPECT_EQ(ShoeboxFind(movieBox, "INTRO.AVI", path.data(), path.size()), 1);
    EXPECT_EQ(ReadBytes(path.data()), song);
    EXPECT_EQ(Find("intro.avi"), 0);  // not in the media archive
    gEngine.mediaShoebox = gEngine.movieShoebox = nullptr;
    ReleaseShoebox(movieBox);
}

TEST_F(ShoeboxTest, ArchiveWithoutTrailerIsNeverReadAgainUntilSetShoebox) {
    const std::string archive = scratch / "media.sbx";
    WriteText(archive, "no trailer in this file at all");
    SetShoeboxPath(box, archive.c_str());
    EXPECT_EQ(Find("face.png"), 0);
    EXPECT_EQ(box->enabled, 0);
    // Now a good archive under the same name: still not consulted.
    WriteBytes(archive, PackOrDie({{"Face.PNG", face}}, false));
    EXPECT_EQ(Find("face.png"), 0);
    SetShoeboxPath(box, archive.c_str());
    EXPECT_EQ(Find("face.png"), 1);
}

TEST_F(ShoeboxTest, FolderOrMissingOrEmptyArchivePathDisablesTheSearch) {
    // As right after start-up: the archive path is the program's folder.
    SetShoeboxPath(box, scratch.path().c_str());
    EXPECT_EQ(Find("face.png"), 0);
    EXPECT_EQ(box->enabled, 0);
    SetShoeboxPath(box, (scratch / "nothing.sbx").c_str());
    EXPECT_EQ(Find("face.png"), 0);
    EXPECT_EQ(box->enabled, 0);
    SetShoeboxPath(box, "");
    EXPECT_EQ(Find("face.png"), 0);
    EXPECT_EQ(box->enabled, 0);
    WriteText(scratch / "tiny", "sbX");  // shorter than a trailer
    SetShoeboxPath(box, (scratch / "tiny").c_str());
    EXPECT_EQ(Find("face.png"), 0);
    EXPECT_EQ(box->enabled, 0);
}

TEST_F(ShoeboxTest, EmptyOrNullNameIsNotFound) {
    EXPECT_EQ(Find(""), 0);
    EXPECT_EQ(Output(), "");
    char out[16] = "x";
    EXPECT_EQ(ShoeboxFind(box, nullptr, out, sizeof out), 0);
    EXPECT_STREQ(out, "");
}

TEST_F(ShoeboxTest, FirstEntryOfAFileNameWins) {
    const std::string archive = scratch / "media.sbx";
    WriteBytes(archive, PackOrDie({{"a.txt", Bytes("first")}, {"A.TXT", Bytes("second")}}, false));
    SetShoeboxPath(box, archive.c_str());
    ASSERT_EQ(Find("a.txt"), 1);
    EXPECT_EQ(ReadText(Output()), "first");
}

TEST_F(ShoeboxTest, EntryNamesMustMatchWhole) {
    const std::string archive = scratch / "media.sbx";
    WriteBytes(archive, PackOrDie({{"face.png.bak", Bytes("x")}, {"ace.png", Bytes("y")}}, false));
    SetShoeboxPath(box, archive.c_str());
    EXPECT_EQ(Find("face.png"), 0);
    EXPECT_EQ(box->enabled, 1);  // a miss in the directory keeps the archive
}

TEST_F(ShoeboxTest, DirectoryOffsetMinus1000CountsFromTheEnd) {
    std::vector<uint8_t> bytes = NoiseBytes(300, 7);  // e.g. an executable's bytes
    const std::vector<uint8_t> block = LzoBlock(face);
    const size_t blockStart = bytes.size();
    bytes.insert(bytes.end(), block.begin(), block.end());
    const size_t directoryStart = bytes.size();
    const size_t total = directoryStart + 1000;
    AppendDirectory(&bytes,
                    {{"Face.PNG", static_cast<int32_t>(blockStart) - static_cast<int32_t>(total),
                      static_cast<uint32_t>(block.size())}});
    bytes.resize(total - 7, 0xEE);  // anything may follow the directory's end
    AppendTrailer(&bytes, -1000);
    ASSERT_EQ(bytes.size(), total);
    const std::string archive = scratch / "game.bin";
    WriteBytes(archive, bytes);
    SetShoeboxPath(box, archive.c_str());
    ASSERT_EQ(Find("face.png"), 1);
    EXPECT_EQ(ReadBytes(Output()), face);
}

TEST_F(ShoeboxTest, ArchivePackedFromTheEndWorksAloneAndAppended) {
    const std::vector<uint8_t> archive = PackOrDie({{"Face.PNG", face}}, true);
    WriteBytes(scratch / "alone.sbx", archive);
    std::vector<uint8_t> appended = NoiseBytes(12345, 3);
    appended.insert(appended.end(), archive.begin(), archive.end());
    WriteBytes(scratch / "appended.bin", appended);
    for (const char* name : {"alone.sbx", "appended.bin"}) {
        SetShoeboxPath(box, (scratch / name).c_str());
        ASSERT_EQ(Find("face.png"), 1) << name;
        EXPECT_EQ(ReadBytes(Output()), face);
    }
}

TEST_F(ShoeboxTest, MembersGoToAPrivateFolderOfThisProcess) {
    WriteBytes(scratch / "media.sbx", PackOrDie({{"Face.PNG", face}}, false));
    SetShoeboxPath(box, (scratch / "media.sbx").c_str());
    ASSERT_EQ(Find("face.png"), 1);
    const std::string folder = ShoeboxTempFolder();
    EXPECT_EQ(folder.rfind(platform::TempFolder(), 0), 0u);
    EXPECT_NE(folder, platform::TempFolder());
    struct stat info;
    ASSERT_EQ(lstat(folder.substr(0, folder.size() - 1).c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, getuid());
}

TEST_F(ShoeboxTest, HostileMemberNamesNeverLeaveThePrivateFolder) {
    const std::vector<uint8_t> block = LzoBlock(Bytes("planted"));
    std::vector<uint8_t> bytes = block;
    const uint32_t size = static_cast<uint32_t>(block.size());
    const size_t directory = bytes.size();
    AppendDirectory(&bytes, {{"..", 0, size},
                             {"../escape.txt", 0, size},
                             {"x/../escape.txt", 0, size},
                             {std::string("nul\0.txt", 8), 0, size},
                             {"escape.txt/", 0, size}});
    AppendTrailer(&bytes, static_cast<int32_t>(directory));
    WriteBytes(scratch / "evil.sbx", bytes);
    SetShoeboxPath(box, (scratch / "evil.sbx").c_str());
    EXPECT_EQ(Find("a/.."), 0);
    EXPECT_EQ(Find("escape.txt"), 0);
    EXPECT_EQ(Find("../escape.txt"), 0);
    EXPECT_EQ(Find("nul"), 0);
    EXPECT_FALSE(Exists(platform::TempFolder() + "escape.txt"));
    EXPECT_FALSE(Exists(scratch / "escape.txt"));
}

TEST_F(ShoeboxTest, ResolvedPathNeverOverrunsTheCallersBuffer) {
    WriteBytes(scratch / "media.sbx", PackOrDie({{"Face.PNG", face}}, false));
    SetShoeboxPath(box, (scratch / "media.sbx").c_str());
    const std::string unpacked = std::string(ShoeboxTempFolder()) + "sbxAAFace.PNG";
    // Room for everything but the terminator: refused, and nothing is left behind.
    EXPECT_EQ(Find("face.png", unpacked.size()), 0);
    EXPECT_EQ(output[0], 0);
    EXPECT_EQ(output[1], '?');
    EXPECT_EQ(box->pendingFile[0], 0);
    EXPECT_EQ(Find("face.png", unpacked.size() + 1), 1);

    const std::string plain = scratch / "media.sbx";
    std::vector<char> small(plain.size(), '?');
    EXPECT_EQ(ShoeboxFind(box, plain.c_str(), small.data(), small.size()), 0);
    EXPECT_EQ(small[0], 0);
    EXPECT_EQ(small[1], '?');
}

// A member name of 255 bytes makes an unpacked name longer than the file
// system allows: the member cannot be written, so it is not found.
TEST_F(ShoeboxTest, MemberThatCannotBeUnpackedIsNotFound) {
    const std::string name(255, 'n');
    WriteBytes(scratch / "media.sbx", PackOrDie({{name, face}}, false));
    SetShoeboxPath(box, (scratch / "media.sbx").c_str());
    DeleteErrorLog();
    EXPECT_EQ(Find(name, 2048), 0);
    EXPECT_EQ(Output(), "");
    EXPECT_EQ(box->pendingFile[0], 0);
    EXPECT_EQ(ReadText(ErrorLogPath()), "Shoebox: cannot unpack " + name + "\r\n");
}

TEST_F(ShoeboxTest, DamagedOrAbsurdMembersAreNotFound) {
    std::vector<uint8_t> bytes;
    std::vector<HandEntry> entries;
    auto add = [&](const std::string& name, std::vector<uint8_t> block) {
        entries.push_back(
            {name, static_cast<int32_t>(bytes.size()), static_cast<uint32_t>(block.size())});
        bytes.insert(bytes.end(), block.begin(), block.end());
    };
    std::vector<uint8_t> corrupt = LzoBlock(face);
    for (size_t i = 8; i < corrupt.size(); i += 7) corrupt[i] ^= 0x5A;
    add("corrupt.bin", corrupt);
    std::vector<uint8_t> liar = LzoBlock(face);
    liar[0] = 0xF0, liar[1] = liar[2] = liar[3] = 0xFF;  // claims almost 4 GiB
    add("liar.bin", liar);
    std::vector<uint8_t> shortClaim = LzoBlock(face);
    shortClaim[0] = 10, shortClaim[1] = shortClaim[2] = shortClaim[3] = 0;  // claims 10 bytes
    add("short.bin", shortClaim);
    add("tiny.bin", {1, 0});  // less than its own size field
    add("good.bin", LzoBlock(song));
    entries.push_back({"beyond.bin", 1 << 30, 100});
    entries.push_back({"negative.bin", -5, 100});
    entries.push_back({"overlong.bin", 0, 0x7FFFFFFF});
    const size_t directory = bytes.size();
    AppendDirectory(&bytes, entries);
    AppendTrailer(&bytes, static_cast<int32_t>(directory));
    WriteBytes(scratch / "bad.sbx", bytes);
    SetShoeboxPath(box, (scratch / "bad.sbx").c_str());
    for (const char* name : {"corrupt.bin", "liar.bin", "short.bin", "tiny.bin", "beyond.bin",
                             "negative.bin", "overlong.bin"}) {
        EXPECT_EQ(Find(name), 0) << name;
        EXPECT_EQ(Output(), "");
    }
    ASSERT_EQ(Find("good.bin"), 1);
    EXPECT_EQ(ReadBytes(Output()), song);
}

TEST_F(ShoeboxTest, CutDirectoryEndsTheSearch) {
    std::vector<uint8_t> bytes = LzoBlock(face);
    const size_t directory = bytes.size();
    bytes.push_back(200);  // a name length with far fewer bytes behind it
    bytes.insert(bytes.end(), {'a', 'b'});
    AppendTrailer(&bytes, static_cast<int32_t>(directory));
    WriteBytes(scratch / "cut.sbx", bytes);
    SetShoeboxPath(box, (scratch / "cut.sbx").c_str());
    EXPECT_EQ(Find("face.png"), 0);
    // A directory offset outside the file.
    bytes.resize(bytes.size() - 7);
    AppendTrailer(&bytes, 1 << 30);
    WriteBytes(scratch / "far.sbx", bytes);
    SetShoeboxPath(box, (scratch / "far.sbx").c_str());
    EXPECT_EQ(Find("face.png"), 0);
}

TEST_F(ShoeboxTest, EmptyMemberUnpacksToAnEmptyFile) {
    WriteBytes(scratch / "media.sbx", PackOrDie({{"empty.txt", {}}}, false));
    SetShoeboxPath(box, (scratch / "media.sbx").c_str());
    ASSERT_EQ(Find("empty.txt"), 1);
    EXPECT_TRUE(Exists(Output()));
    EXPECT_TRUE(ReadBytes(Output()).empty());
}

TEST(ShoeboxPacker, RefusesNamesThatCannotBeFileNames) {
    std::vector<uint8_t> archive;
    std::string error;
    for (const std::string& name : {std::string(""), std::string(".."), std::string("a/b"),
                                    std::string("a\\b"), std::string(256, 'n')}) {
        EXPECT_FALSE(PackShoebox({{name, Bytes("x")}}, false, &archive, &error)) << name;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(PackShoebox({{std::string(255, 'n'), Bytes("x")}}, false, &archive, &error));
}

}  // namespace
