#include "runtime/runtime.h"
#include "runtime/values/DataList.h"

#include <gtest/gtest.h>

#include "ErrorProbe.h"

namespace {

const DataItem kItems[] = {{0, "Anna"}, {2.5, nullptr}, {0, " 12xyz"}, {1e10, nullptr}};
DataList gList = {kItems, 4, 0};

TEST(DataList, ReadsItemsInOrder) {
    RestoreData(gList);
    RtString name;
    ReadDataText(name);
    EXPECT_STREQ(name.CStr(), "Anna");
    double number = 0;
    ReadDataNumber(number);
    EXPECT_EQ(number, 2.5);
    ReadDataNumber(number);  // a text item through atof
    EXPECT_EQ(number, 12);
    ReadDataText(name);  // a number item as its number text
    EXPECT_STREQ(name.CStr(), "1.e+010");
    EXPECT_EQ(gList.position, 4);
    RestoreData(gList);
    ReadDataText(name);
    EXPECT_STREQ(name.CStr(), "Anna");
}

TEST(DataListDeathTest, ReadingPastTheEndIsError20) {
    RestoreData(gList);
    double number;
    RtString text;
    EXPECT_RUNTIME_ERROR(for (int i = 0; i < 5; ++i) ReadDataNumber(number), 20);
    EXPECT_RUNTIME_ERROR(for (int i = 0; i < 5; ++i) ReadDataText(text), 20);
}

}  // namespace
