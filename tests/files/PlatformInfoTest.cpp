#include "runtime/files/PlatformInfo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

#include "runtime/core/Engine.h"
#include "runtime/platform/Platform.h"
#include "support/TestEngine.h"

namespace {

std::string Ask(const char* key) {
    return PlatformInfo(RtString(key)).CStr();
}

TEST(PlatformInfo, FixedAnswers) {
    EXPECT_EQ(Ask(""), "WIN32");
    EXPECT_EQ(Ask("DEVICE"), "DESKTOP");
    EXPECT_EQ(Ask("device"), "DESKTOP");
    EXPECT_EQ(Ask("Device"), "DESKTOP");
    EXPECT_EQ(Ask("DEVICES"), "NO_DATA");
    EXPECT_EQ(Ask("F100"), "NO_DATA");
    EXPECT_EQ(Ask(" ID"), "NO_DATA");
}

TEST(PlatformInfo, UpperCasesTheCallersKey) {
    RtString key("device");
    EXPECT_STREQ(PlatformInfo(key).CStr(), "DESKTOP");
    EXPECT_STREQ(key.CStr(), "DEVICE");
    RtString mixed("glext:glActiveTextureARB\xE9");
    PlatformInfo(mixed);
    EXPECT_STREQ(mixed.CStr(), "GLEXT:GLACTIVETEXTUREARB\xE9");
}

TEST(PlatformInfo, GlExtensionWithoutAContextIsAbsent) {
    EXPECT_EQ(Ask("GLEXT:"), "0");
    EXPECT_EQ(Ask("GLEXT:glActiveTextureARB"), "0");
    EXPECT_EQ(Ask("GLEXT:GL_ARB_multitexture"), "0");
}

TEST(PlatformInfo, MachineIdIsTheMaskedSerialLowByteFirst) {
    const std::string id = Ask("ID");
    ASSERT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{8}"))) << id;
    EXPECT_EQ(Ask("id"), id);  // stable
    const uint32_t value = platform::MachineSerial() ^ 0x5EC0B17Au;
    char expected[9];
    std::snprintf(expected, sizeof expected, "%02X%02X%02X%02X", value & 255, value >> 8 & 255,
                  value >> 16 & 255, value >> 24);
    EXPECT_EQ(id, expected);
}

TEST(PlatformInfo, Battery) {
    const std::string battery = Ask("BATTERY");
    const int percent = platform::BatteryPercent();
    EXPECT_TRUE((percent >= 0 && percent <= 100) || percent == 255) << percent;
    EXPECT_EQ(battery, std::to_string(percent));
}

TEST(PlatformInfo, TimeText) {
    std::tm when = {};
    when.tm_year = 2009 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 7;
    when.tm_min = 4;
    when.tm_sec = 9;
    EXPECT_STREQ(DateTimeText(when).CStr(), "2009-03-05 07:04:09");
    std::tm newYear = {};
    newYear.tm_year = 2027 - 1900;
    newYear.tm_mday = 1;
    newYear.tm_sec = 1;
    EXPECT_STREQ(DateTimeText(newYear).CStr(), "2027-01-01 00:00:01");
    std::tm late = {};
    late.tm_year = 1999 - 1900;
    late.tm_mon = 11;
    late.tm_mday = 31;
    late.tm_hour = 23;
    late.tm_min = 59;
    late.tm_sec = 10;
    EXPECT_STREQ(DateTimeText(late).CStr(), "1999-12-31 23:59:10");
    const std::string now = Ask("time");
    EXPECT_TRUE(std::regex_match(now, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"))) << now;
}

// With a real context the answer comes from the driver's extension list: a
// function of a listed extension is there, an invented name is not, however
// willing the loader is to hand out an address for it.
TEST(PlatformInfoDeathTest, GlExtensionWithAContext) {
    EXPECT_EXIT(
        {
            if (!StartTestEngine()) std::exit(3);
            std::fprintf(stderr, "answers %s %s %s %s\n", Ask("GLEXT:glActiveTextureARB").c_str(),
                         Ask("GLEXT:GL_ARB_multitexture").c_str(),
                         Ask("GLEXT:glNoSuchThingARB").c_str(),
                         Ask("GLEXT:GL_NO_such_extension").c_str());
            EndProgram();
        },
        ::testing::ExitedWithCode(0), "answers 1 1 0 0");
}

}  // namespace
