#include "runtime/values/RtString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "ErrorProbe.h"
#include "runtime/runtime.h"
#include "runtime/values/NumberText.h"

namespace {

TEST(RtString, EmptySharedAndDestroyedStates) {
    RtString a, b;
    EXPECT_EQ(a.buffer, b.buffer);  // the one shared empty buffer
    EXPECT_EQ(a.capacity, 0u);
    EXPECT_EQ(a.length, 0u);
    EXPECT_STREQ(a.CStr(), "");
    EXPECT_EQ(a == "", 1.0);
    EXPECT_EQ(a == RtString(""), 1.0);
    EXPECT_EQ(a.CharAt(0), 0);
    RtString text("abc");
    text.Clear();
    text.Clear();  // a second time does nothing
    EXPECT_EQ(text.buffer, nullptr);
    EXPECT_EQ(text.capacity, 0u);
    EXPECT_EQ(text.Length(), 0u);
    EXPECT_STREQ(text.CStr(), "");  // never null
}

TEST(RtString, BlocksGrowIn512ByteSteps) {
    RtString empty;
    empty = "";
    EXPECT_EQ(empty.capacity, 512u);
    EXPECT_EQ(empty.length, 0u);
    EXPECT_EQ(RtString(std::string(511, 'x').c_str()).capacity, 512u);
    EXPECT_EQ(RtString(std::string(512, 'x').c_str()).capacity, 1024u);
    EXPECT_EQ(RtString(std::string(1000, 'x').c_str()).capacity, 1024u);
    EXPECT_EQ(RtString(std::string(1024, 'x').c_str()).capacity, 1536u);
    EXPECT_EQ(RtString(5).capacity, 512u);
    EXPECT_EQ(RtString(2.5f).capacity, 512u);
    EXPECT_EQ(RtString(2.5).capacity, 512u);
}

TEST(RtString, ReserveRule) {
    RtString text;
    text.Reserve(0);
    EXPECT_EQ(text.capacity, 512u);
    EXPECT_STREQ(text.CStr(), "");
    text.Reserve(511);
    EXPECT_EQ(text.capacity, 512u);
    text = "keep";
    text.Reserve(512);
    EXPECT_EQ(text.capacity, 1024u);
    EXPECT_STREQ(text.CStr(), "keep");
    EXPECT_EQ(text.length, 4u);
    text.Reserve(100);
    EXPECT_EQ(text.capacity, 1024u);  // never shrinks
}

TEST(RtString, AssignmentKeepsABigEnoughBlock) {
    RtString text(std::string(700, 'y').c_str());
    char* block = text.buffer;
    text = "short";
    EXPECT_EQ(text.buffer, block);
    EXPECT_EQ(text.capacity, 1024u);
    EXPECT_EQ(text.length, 5u);
    text = 12.5;
    EXPECT_EQ(text.buffer, block);
    EXPECT_STREQ(text.CStr(), "12.5");
    text = -7;
    EXPECT_STREQ(text.CStr(), "-7");
    text = 0.25f;
    EXPECT_STREQ(text.CStr(), "0.25");
    const RtString other("other");
    text = other;
    EXPECT_STREQ(text.CStr(), "other");
    const RtString& same = text;
    text = same;
    EXPECT_STREQ(text.CStr(), "other");
    text = text.CStr() + 2;  // a text inside the value itself
    EXPECT_STREQ(text.CStr(), "her");
    EXPECT_EQ(text.length, 3u);
}

TEST(RtString, CopiesOwnTheirBlocks) {
    const RtString original("shared?");
    RtString copy(original);
    EXPECT_NE(copy.buffer, original.buffer);
    EXPECT_EQ(copy.capacity, 512u);
    copy.SetCharAt(0, 'S');
    EXPECT_STREQ(original.CStr(), "shared?");
    const RtString empty;
    RtString emptyCopy(empty);
    EXPECT_EQ(emptyCopy.capacity, 512u);  // copying reserves, even for nothing
}

TEST(RtString, AppendingGrowsOncePer512Bytes) {
    RtString text;
    int reallocations = 0;
    char* block = text.buffer;
    for (int i = 0; i < 1100; ++i) {
        text += "z";
        if (text.buffer != block) ++reallocations, block = text.buffer;
    }
    EXPECT_EQ(reallocations, 3);  // at lengths 1, 512 and 1024
    EXPECT_EQ(text.length, 1100u);
    EXPECT_EQ(text.capacity, 1536u);
    EXPECT_EQ(std::strlen(text.CStr()), 1100u);
}

TEST(RtString, AppendingTextsAndNumbers) {
    RtString text("a");
    text += RtString("b");
    text += "c";
    text += 1;
    text += 2.5;
    text += 0.5f;
    EXPECT_STREQ(text.CStr(), "abc12.50.5");
    EXPECT_EQ(text.length, 10u);
    text += text;
    EXPECT_STREQ(text.CStr(), "abc12.50.5abc12.50.5");
    RtString big(std::string(500, 'q').c_str());
    big += big;  // reallocates while appending itself
    EXPECT_EQ(big.length, 1000u);
    EXPECT_EQ(std::string(big.CStr()), std::string(1000, 'q'));
    RtString inner(std::string(400, 'r').c_str());
    inner += inner.CStr() + 100;  // 300 bytes of itself, crossing 512
    EXPECT_EQ(inner.length, 700u);
    EXPECT_EQ(std::string(inner.CStr()), std::string(700, 'r'));
}

TEST(RtString, AppendingATerminatedTextStartsAtTheFirstNul) {
    RtString text("abc");
    text.SetCharAt(1, 0);
    text += "Z";
    EXPECT_STREQ(text.buffer, "aZ");
    EXPECT_EQ(text.length, 4u);  // the length field is not recounted
}

TEST(RtString, Concatenation) {
    EXPECT_STREQ((3 + RtString("x")).CStr(), "3x");
    EXPECT_STREQ((RtString("t") + 12.5).CStr(), "t12.5");
    EXPECT_STREQ((RtString("t") + 0.1f).CStr(), "t0.1000000015");  // float widened first
    EXPECT_STREQ((2.0 / 3 + RtString("!")).CStr(), "0.6666666667!");
    EXPECT_STREQ(("pre" + RtString("fix")).CStr(), "prefix");
    EXPECT_STREQ((RtString("a") + "b" + 1 + RtString("c")).CStr(), "ab1c");
    EXPECT_STREQ((RtString() + RtString()).CStr(), "");
    EXPECT_EQ((RtString() + RtString()).capacity, 512u);
    EXPECT_STREQ((RtString("Score: ") + 1e10).CStr(), "Score: 1.e+010");
}

TEST(RtString, TextComparisonsAreByteWise) {
    EXPECT_EQ(RtString("B") < RtString("a"), 1.0);
    EXPECT_EQ(RtString("abc") < "abd", 1.0);
    EXPECT_EQ("" < RtString("a"), 1.0);
    EXPECT_EQ(RtString("a") > "B", 1.0);
    EXPECT_EQ(RtString("\xE9") > "z", 1.0);  // unsigned bytes
    EXPECT_EQ(RtString("abc") == "abc", 1.0);
    EXPECT_EQ(RtString("abc") != "abC", 1.0);
    EXPECT_EQ(RtString("abc") <= RtString("abc"), 1.0);
    EXPECT_EQ(RtString("abc") >= RtString("abd"), 0.0);
    EXPECT_EQ(RtString("x") == RtString("x"), 1.0);
    EXPECT_EQ(RtString("x") != RtString("x"), 0.0);
    RtString cut("xy");
    cut.SetCharAt(1, 0);  // bytes equal up to the NUL, lengths differ
    EXPECT_EQ(cut == RtString("x"), 0.0);
    EXPECT_EQ(cut == "x", 1.0);
}

TEST(RtString, TextAgainstNumberComparesValues) {
    EXPECT_EQ(RtString("10") == 10, 1.0);
    EXPECT_EQ(RtString("abc") == 0, 1.0);
    EXPECT_EQ(RtString("1e3") > 999, 1.0);
    EXPECT_EQ(10 == RtString("10.0"), 1.0);
    EXPECT_EQ(RtString("2.5") == 2.5f, 1.0);
    EXPECT_EQ(RtString("0.1") == 0.1f, 0.0);  // the float is widened, not the text narrowed
    EXPECT_EQ(RtString("3") < 4.5, 1.0);
    EXPECT_EQ(4.5 <= RtString("3"), 0.0);
    EXPECT_EQ(RtString("-1") >= -1, 1.0);
    const double nan = std::nan("");
    EXPECT_EQ(RtString("0") == nan, 0.0);
    EXPECT_EQ(RtString("0") != nan, 1.0);
    EXPECT_EQ(nan == RtString("0"), 0.0);
}

TEST(RtString, BufferAndSyncLength) {
    RtString text;
    char* room = text.Buffer(100);
    EXPECT_EQ(text.capacity, 512u);
    std::strcpy(room, "filled");
    EXPECT_EQ(text.length, 0u);
    text.SyncLength();
    EXPECT_EQ(text.length, 6u);
    text.CutAt(3);
    EXPECT_STREQ(text.CStr(), "fil");
    EXPECT_EQ(text.length, 3u);
    std::memset(text.Buffer(0), 'w', text.capacity);  // no terminator at all
    text.SyncLength();
    EXPECT_EQ(text.length, 511u);
    EXPECT_EQ(std::strlen(text.CStr()), 511u);
    RtString empty;
    empty.SyncLength();
    EXPECT_EQ(empty.length, 0u);
}

TEST(RtString, CharAtReadsSignedBytes) {
    RtString text("A\xE9");
    EXPECT_EQ(text.CharAt(0), 65);
    EXPECT_EQ(text.CharAt(1), -23);
    text.SetCharAt(0, 'B');
    EXPECT_STREQ(text.CStr(), "B\xE9");
    EXPECT_EQ(text.length, 2u);
}

TEST(TextCommands, CharCodeAndCharText) {
    EXPECT_EQ(CharCode(RtString("\xE9")), 233);
    EXPECT_EQ(CharCode(RtString("A")), 65);
    EXPECT_EQ(CharCode(RtString()), 0);
    EXPECT_STREQ(CharText(65).CStr(), "A");
    EXPECT_STREQ(CharText(321).CStr(), "A");
    EXPECT_STREQ(CharText(65.9).CStr(), "A");
    EXPECT_STREQ(CharText(233).CStr(), "\xE9");
    EXPECT_STREQ(CharText(0).CStr(), "");
    EXPECT_EQ(CharText(0).length, 0u);
    EXPECT_EQ(CharText(256).length, 0u);
    EXPECT_STREQ(CharText(65536 + 66).CStr(), "B");
}

TEST(TextCommands, CaseChangesOnlyAsciiLetters) {
    const RtString mixed("abcXYZ019\xE9\xC9_z{`@[");
    EXPECT_STREQ(UpperText(mixed).CStr(), "ABCXYZ019\xE9\xC9_Z{`@[");
    EXPECT_STREQ(LowerText(mixed).CStr(), "abcxyz019\xE9\xC9_z{`@[");
    EXPECT_STREQ(mixed.CStr(), "abcXYZ019\xE9\xC9_z{`@[");  // the argument stays
}

TEST(TextCommands, FindText) {
    EXPECT_EQ(FindText("abcxyz", "xy"), 3);
    EXPECT_EQ(FindText(RtString("abc"), ""), 0);
    EXPECT_EQ(FindText(RtString(""), "x"), -1);
    EXPECT_EQ(FindText(RtString("aaab"), RtString("ab")), 2);
    EXPECT_EQ(FindText("abc", RtString("d")), -1);
    EXPECT_EQ(FindText(RtString(), RtString()), 0);
}

TEST(TextCommands, HexText) {
    const unsigned char bytes[] = {0x00, 0x1F, 0xA5, 0xFF};
    EXPECT_STREQ(HexText(bytes, 4).CStr(), "001FA5FF");
    EXPECT_EQ(HexText(bytes, 4).length, 8u);
    EXPECT_STREQ(HexText(bytes, 0).CStr(), "");
    EXPECT_EQ(HexText(bytes, 0).capacity, 0u);
}

// A text that would reach 4 GiB is runtime error 7, as too large an array
// is; an uncaught std::bad_alloc used to end the process with code 134.
TEST(TextCommands, TextsTooLargeToHoldAreRuntimeError7) {
    EXPECT_RUNTIME_ERROR(RtString().Reserve(0xFFFFFE00u), 7);
    EXPECT_RUNTIME_ERROR(RtString().Reserve(0xFFFFFFFFu), 7);
    const unsigned char byte = 0x5A;
    EXPECT_RUNTIME_ERROR(HexText(&byte, 0x80000000u), 7);
    EXPECT_STREQ(HexText(&byte, 1).CStr(), "5A");
}

TEST(TextCommands, TrimControlTail) {
    RtString line("value\r\n");
    TrimControlTail(line);
    EXPECT_STREQ(line.CStr(), "value");
    EXPECT_EQ(line.length, 5u);
    RtString high("ab\xE9\x01");
    TrimControlTail(high);
    EXPECT_STREQ(high.CStr(), "ab");
    RtString inner("a\tb ");
    TrimControlTail(inner);
    EXPECT_STREQ(inner.CStr(), "a\tb ");
    RtString all("\x01\x02");
    TrimControlTail(all);
    EXPECT_EQ(all.length, 0u);
    RtString empty;
    TrimControlTail(empty);
    EXPECT_EQ(empty.length, 0u);
}

}  // namespace
