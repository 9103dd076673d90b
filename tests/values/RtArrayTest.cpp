#include "runtime/runtime.h"
#include "runtime/values/RtArray.h"

#include <gtest/gtest.h>

#include <vector>

#include "ErrorProbe.h"

namespace {

std::vector<double> Elements(RtArray& array) {
    std::vector<double> values;
    for (int i = 0; i < array.size[0]; ++i) values.push_back(array(i));
    return values;
}

TEST(RtArray, StartsUndimensioned) {
    RtArray array;
    EXPECT_EQ(array.data, nullptr);
    EXPECT_EQ(array.capacity, 0);
    EXPECT_EQ(array.dimensionCount, 0);
    EXPECT_EQ(ArrayBound(array, 0), 0);
}

TEST(RtArray, SmallArraysLiveInline) {
    RtArray array;
    DimArray(array, 5, 0, 0, 0);
    EXPECT_EQ(array.dimensionCount, 1);
    EXPECT_EQ(array.size[0], 5);
    EXPECT_EQ(array.capacity, 8);
    EXPECT_EQ(array.data, array.inlineStore);
    array(4) = 2.5;
    EXPECT_EQ(array.data[4], 2.5);
}

TEST(RtArray, TwoDimensionsFirstIndexFastest) {
    RtArray array;
    DimArray(array, 3, 4, 0, 0);
    EXPECT_EQ(array.dimensionCount, 2);
    EXPECT_EQ(array.capacity, 16);
    EXPECT_EQ(array.data, array.inlineStore);
    EXPECT_EQ(array.stride1, 3);
    EXPECT_EQ(array.stride2, 12);
    EXPECT_EQ(&array(2, 3), &array.data[11]);
    EXPECT_EQ(&array(2.9, 3.2), &array.data[11]);  // doubles are truncated
}

TEST(RtArray, ShapesAndCapacities) {
    RtArray array;
    DimArray(array, 17, 0, 0, 0);
    EXPECT_EQ(array.capacity, 24);
    EXPECT_NE(array.data, array.inlineStore);
    DimArray(array, 2, 3, 4, 5);
    EXPECT_EQ(array.dimensionCount, 4);
    EXPECT_EQ(array.capacity, 128);  // 120 elements
    EXPECT_EQ(array.stride3, 24);
    EXPECT_EQ(&array(1, 2, 3, 4), &array.data[1 + 2 * 2 + 3 * 6 + 4 * 24]);
    DimArray(array, 4, 0, 2, 0);  // a size below 1 counts as 1 in the element count
    EXPECT_EQ(array.dimensionCount, 3);
    EXPECT_EQ(array.size[1], 0);
    EXPECT_EQ(array.capacity, 128);  // smaller requests keep the storage
    DimArray(array, 0, 0, 0, 0);
    EXPECT_EQ(array.capacity, 8);  // a below 1 forces fresh storage
    EXPECT_EQ(array.data, array.inlineStore);
    EXPECT_EQ(array.dimensionCount, 0);
    DimArray(array, 8, 0, 0, 0);
    EXPECT_EQ(array.capacity, 16);
    DimArray(array, 16, 0, 0, 0);
    EXPECT_EQ(array.capacity, 24);
}

TEST(RtArray, DimClearsEveryElement) {
    RtArray array;
    DimArray(array, 40, 0, 0, 0);
    for (int i = 0; i < 40; ++i) array(i) = i + 1;
    DimArray(array, 10, 0, 0, 0);
    for (int i = 0; i < array.capacity; ++i) EXPECT_EQ(array.data[i], 0);
}

TEST(RtArray, Bounds) {
    RtArray array;
    DimArray(array, 6, 7, 0, 0);
    EXPECT_EQ(ArrayBound(array, 0), 6);
    EXPECT_EQ(ArrayBound(array, 1.9), 7);
    EXPECT_EQ(ArrayBound(array, 2), 0);
    EXPECT_EQ(ArrayBound(array, 4), 0);
    EXPECT_EQ(ArrayBound(array, -1), 0);
}

TEST(RtArray, RedimKeepsTheOverlap) {
    RtArray array;
    FillArrayFromList(array, {1, 2, 3});
    RedimArray(array, 5);
    EXPECT_EQ(Elements(array), (std::vector<double>{1, 2, 3, 0, 0}));
    RedimArray(array, 2);
    EXPECT_EQ(Elements(array), (std::vector<double>{1, 2}));
    EXPECT_EQ(array.size[0], 2);
}

TEST(RtArray, RedimAcrossInlineAndHeap) {
    RtArray array;
    DimArray(array, 4, 3, 0, 0);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i) array(i, j) = 10 * i + j;
    RedimArray(array, 6, 5, 0, 0);  // inline to heap
    EXPECT_NE(array.data, array.inlineStore);
    EXPECT_EQ(array.capacity, 32);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(array(i, j), i < 4 && j < 3 ? 10 * i + j : 0) << i << "," << j;
    array(5, 4) = 99;
    RedimArray(array, 7, 6, 0, 0);  // heap to heap: the block is taken over
    EXPECT_EQ(array(5, 4), 99);
    EXPECT_EQ(array(3, 2), 32);
    EXPECT_EQ(array.dimensionCount, 2);
    RedimArray(array, 2, 2, 0, 0);  // to a small shape: re-dimensioned, the block kept
    EXPECT_NE(array.data, array.inlineStore);
    EXPECT_EQ(array.capacity, 48);
    EXPECT_EQ(array(1, 1), 11);
    EXPECT_EQ(array.stride1, 2);
    RtArray fresh;
    RedimArray(fresh, 3);
    EXPECT_EQ(Elements(fresh), (std::vector<double>{0, 0, 0}));
}

TEST(RtArray, DeleteElementIdiom) {
    RtArray array;
    FillArrayFromList(array, {10, 20, 30});
    const int n = 3, p = 1;
    for (int m = p; m <= n - 2; ++m) CopyArrayRow(array, m, m + 1);
    RedimArray(array, n - 1);
    EXPECT_EQ(Elements(array), (std::vector<double>{10, 30}));
}

TEST(RtArray, CopyArrayRowVisitsEveryOtherIndex) {
    RtArray array;
    DimArray(array, 3, 2, 2, 0);
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j) array(2, j, k) = 1 + j + 2 * k;
    CopyArrayRow(array, 0, 2);
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(array(0, j, k), 1 + j + 2 * k);
    int calls = 0;
    static int* counter;
    counter = &calls;
    CopyArrayRow(array, 1, 0, [](double& target, double& source) {
        ++*counter;
        target = -source;
    });
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(array(1, 1, 1), -4);
}

TEST(RtArray, CopyArrayTakesShapeAndElements) {
    RtArray source, target;
    DimArray(source, 5, 4, 0, 0);
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 5; ++i) source(i, j) = i * j;
    DimArray(target, 2, 0, 0, 0);
    CopyArray(target, source);
    EXPECT_EQ(target.size[0], 5);
    EXPECT_EQ(target.size[1], 4);
    EXPECT_EQ(target.dimensionCount, 2);
    EXPECT_EQ(target.capacity, 24);
    EXPECT_EQ(target(4, 3), 12);
    EXPECT_NE(target.data, source.data);
}

TEST(RtArray, FillFromList) {
    RtArray array;
    const double list[] = {4, 5, 6, 7};
    FillArrayFromList(array, 4, list);
    EXPECT_EQ(Elements(array), (std::vector<double>{4, 5, 6, 7}));
    EXPECT_EQ(array.dimensionCount, 1);
}

TEST(RtArray, ReleaseFreesAndResets) {
    RtArray array;
    DimArray(array, 100, 0, 0, 0);
    array.Release();
    EXPECT_EQ(array.data, nullptr);
    EXPECT_EQ(array.capacity, 0);
    DimArray(array, 3, 0, 0, 0);
    array.Release();
    EXPECT_EQ(array.data, nullptr);
}

TEST(RtTextArray, ShapesAndCapacities) {
    RtTextArray array;
    FillTextArrayFromList(array, {RtString("a"), RtString("bb"), RtString("ccc")});
    EXPECT_EQ(array.size[0], 3);
    EXPECT_EQ(array.capacity, 64);
    EXPECT_EQ(TextArrayBound(array, 0), 3);
    EXPECT_STREQ(array(2).CStr(), "ccc");
    EXPECT_EQ(reinterpret_cast<uint64_t*>(array.data)[-1], 64u);  // count word before the elements
    DimTextArray(array, 8, 9, 0, 0);
    EXPECT_EQ(array.capacity, 128);  // 72 elements
    EXPECT_EQ(array.dimensionCount, 2);
    array(7, 8) = "last";
    EXPECT_EQ(&array(7, 8), &array.data[71]);
    array(7, 7) = "kept?";
    DimTextArray(array, 10, 0, 0, 0);  // storage kept, the first 64 texts emptied
    EXPECT_EQ(array.capacity, 128);
    EXPECT_STREQ(array.data[63].CStr(), "");
    EXPECT_EQ(array.data[0].capacity, 512u);      // emptied by assignment
    EXPECT_STREQ(array.data[71].CStr(), "last");  // beyond them, out of the new shape
    DimTextArray(array, 0, 0, 0, 0);
    EXPECT_EQ(array.capacity, 64);
    EXPECT_EQ(TextArrayBound(array, 0), 0);
}

TEST(RtTextArray, FreshElementsAreEmpty) {
    RtTextArray array;
    DimTextArray(array, 70, 0, 0, 0);
    EXPECT_EQ(array.capacity, 128);
    for (int i = 0; i < array.capacity; ++i) {
        EXPECT_EQ(array.data[i].capacity, 0u);
        EXPECT_STREQ(array.data[i].CStr(), "");
    }
    array(69) = RtString("x") + 69;
    EXPECT_STREQ(array(69).CStr(), "x69");
}

// C++ callers index with whatever integral type their loop counts in.
TEST(RtArray, EveryIntegralTypeIndexesByItsValue) {
    RtArray array;
    DimArray(array, 3, 0, 0, 0);
    const std::vector<double> source = {10, 20, 30};
    for (size_t i = 0; i < source.size(); ++i) array(i) = source[i];
    EXPECT_EQ(Elements(array), source);
    EXPECT_EQ(array(uint8_t{2}), 30);
    EXPECT_EQ(array(uint16_t{1}), 20);
    EXPECT_EQ(array(uint32_t{0}), 10);
    EXPECT_EQ(array(uint64_t{2}), 30);
    EXPECT_EQ(array(int64_t{1}), 20);
    EXPECT_EQ(array(short{0}), 10);
    EXPECT_EQ(array(char{2}), 30);
    RtTextArray texts;
    DimTextArray(texts, 2, 0, 0, 0);
    texts(size_t{1}) = "one";
    EXPECT_STREQ(texts(1).CStr(), "one");
}

TEST(RtArrayDeathTest, IndexOutOfRangeIsError9) {
    RtArray array;
    DimArray(array, 5, 0, 0, 0);
    EXPECT_RUNTIME_ERROR(array(5) = 1, 9);
    EXPECT_RUNTIME_ERROR(array(-1) = 1, 9);
    EXPECT_RUNTIME_ERROR(array(0, 1) = 1, 9);  // a dimension the array does not have
    EXPECT_RUNTIME_ERROR(array(1e12) = 1, 9);
    EXPECT_RUNTIME_ERROR(array(size_t{5}) = 1, 9);
    EXPECT_RUNTIME_ERROR(array(uint64_t{1} << 32) = 1, 9);  // would wrap to 0 if cut to 32 bits
    EXPECT_RUNTIME_ERROR(array(int64_t{-1}) = 1, 9);
    RtArray empty;
    EXPECT_RUNTIME_ERROR(empty(0) = 1, 9);
    RtArray none;
    DimArray(none, 0, 0, 0, 0);
    EXPECT_RUNTIME_ERROR(none(0) = 1, 9);
    RtArray grid;
    DimArray(grid, 3, 4, 0, 0);
    EXPECT_RUNTIME_ERROR(grid(0, 4) = 1, 9);
    EXPECT_RUNTIME_ERROR(grid(3, 0) = 1, 9);
    EXPECT_RUNTIME_ERROR(CopyArrayRow(grid, 3, 0), 9);
}

TEST(RtArrayDeathTest, TextIndexOutOfRangeIsError9) {
    RtTextArray array;
    DimTextArray(array, 2, 0, 0, 0);
    EXPECT_RUNTIME_ERROR(array(2) = "x", 9);
    RtTextArray empty;
    EXPECT_RUNTIME_ERROR(empty(0) = "x", 9);
}

TEST(RtArrayDeathTest, ElementCountBeyond32BitsIsError7) {
    RtArray array;
    EXPECT_RUNTIME_ERROR(DimArray(array, 65536, 65536, 0, 0), 7);
    EXPECT_RUNTIME_ERROR(DimArray(array, 4294967296.0 + 5, 0, 0, 0), 7);
    EXPECT_RUNTIME_ERROR(DimArray(array, 1e300, 1e300, 1e300, 1e300), 7);
    EXPECT_RUNTIME_ERROR(RedimArray(array, 2147483647, 2, 0, 0), 7);
    RtTextArray texts;
    EXPECT_RUNTIME_ERROR(DimTextArray(texts, 100000, 100000, 0, 0), 7);
}

}  // namespace
