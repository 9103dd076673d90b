// The open list's circular buffer: both ends, insertion and removal in the
// middle across the wrap, full and empty alike with head == tail, refusals.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "runtime/pathfind/FixedDeque.h"

namespace {

std::vector<int> Contents(const FixedDeque<int>& deque) {
    std::vector<int> items;
    for (int32_t i = 0; i < deque.Size(); ++i) items.push_back(deque.At(i));
    return items;
}

TEST(FixedDequeTest, StartsEmptyAndFillsFromBothEnds) {
    FixedDeque<int> deque(4);
    EXPECT_TRUE(deque.Empty());
    EXPECT_EQ(deque.Size(), 0);
    EXPECT_TRUE(deque.PushBack(2));
    EXPECT_TRUE(deque.PushFront(1));
    EXPECT_TRUE(deque.PushBack(3));
    EXPECT_EQ(Contents(deque), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(deque.Back(), 3);
    EXPECT_FALSE(deque.Empty());
}

TEST(FixedDequeTest, FullDequeRefusesEveryAddition) {
    FixedDeque<int> deque(3);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(deque.PushBack(i));
    EXPECT_TRUE(deque.Full());
    EXPECT_EQ(deque.Size(), 3);  // head == tail, yet not empty
    EXPECT_FALSE(deque.PushBack(9));
    EXPECT_FALSE(deque.PushFront(9));
    EXPECT_FALSE(deque.Insert(1, 9));
    EXPECT_EQ(Contents(deque), (std::vector<int>{0, 1, 2}));
}

TEST(FixedDequeTest, PositionsBeyondTheSizeAreRefused) {
    FixedDeque<int> deque(8);
    deque.PushBack(1);
    deque.PushBack(2);
    EXPECT_FALSE(deque.Insert(3, 9));
    EXPECT_FALSE(deque.Insert(-1, 9));
    EXPECT_FALSE(deque.Erase(2));
    EXPECT_FALSE(deque.Erase(-1));
    EXPECT_TRUE(deque.Insert(2, 3));  // at the size: the new back
    EXPECT_EQ(Contents(deque), (std::vector<int>{1, 2, 3}));
}

TEST(FixedDequeTest, PopsEmptyTheDequeAndRefuseWhenEmpty) {
    FixedDeque<int> deque(2);
    deque.PushBack(1);
    deque.PushBack(2);
    EXPECT_TRUE(deque.PopBack());
    EXPECT_TRUE(deque.PopFront());
    EXPECT_TRUE(deque.Empty());
    EXPECT_FALSE(deque.PopBack());
    EXPECT_FALSE(deque.PopFront());
}

TEST(FixedDequeTest, ClearEmptiesAndTheDequeIsReusable) {
    FixedDeque<int> deque(3);
    deque.PushBack(1);
    deque.PushBack(2);
    deque.PushBack(3);
    deque.Clear();
    EXPECT_TRUE(deque.Empty());
    EXPECT_EQ(deque.Size(), 0);
    EXPECT_TRUE(deque.PushFront(7));
    EXPECT_EQ(Contents(deque), (std::vector<int>{7}));
}

TEST(FixedDequeTest, ZeroCapacityHoldsNothing) {
    FixedDeque<int> deque(0);
    EXPECT_TRUE(deque.Empty());
    EXPECT_FALSE(deque.PushBack(1));
    EXPECT_FALSE(deque.PushFront(1));
    EXPECT_FALSE(deque.Insert(0, 1));
    EXPECT_TRUE(deque.Empty());
}

TEST(FixedDequeTest, MiddleInsertAndEraseAcrossTheWrap) {
    FixedDeque<int> deque(6);
    for (int i = 0; i < 4; ++i) deque.PushBack(i);
    deque.PopFront();
    deque.PopFront();
    deque.PushBack(4);
    deque.PushBack(5);
    deque.PushBack(6);  // the back has wrapped to the start of the slots
    EXPECT_EQ(Contents(deque), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_TRUE(deque.Insert(1, 10));  // front side moves
    EXPECT_EQ(Contents(deque), (std::vector<int>{2, 10, 3, 4, 5, 6}));
    EXPECT_TRUE(deque.Erase(4));  // back side moves
    EXPECT_EQ(Contents(deque), (std::vector<int>{2, 10, 3, 4, 6}));
    EXPECT_TRUE(deque.Erase(1));
    EXPECT_EQ(Contents(deque), (std::vector<int>{2, 3, 4, 6}));
    EXPECT_TRUE(deque.Insert(3, 11));
    EXPECT_EQ(Contents(deque), (std::vector<int>{2, 3, 4, 11, 6}));
    EXPECT_EQ(deque.Back(), 6);
}

TEST(FixedDequeTest, AgreesWithStdDequeOverRandomOperations) {
    constexpr int kCapacity = 13;
    std::mt19937 random(2026);
    FixedDeque<int> deque(kCapacity);
    std::deque<int> expected;
    for (int step = 0; step < 20000; ++step) {
        const int value = step;
        const int size = static_cast<int>(expected.size());
        const int position = std::uniform_int_distribution<int>(-1, size + 1)(random);
        switch (random() % 6) {
            case 0: {
                const bool ok = size < kCapacity;
                ASSERT_EQ(deque.PushBack(value), ok);
                if (ok) expected.push_back(value);
                break;
            }
            case 1: {
                const bool ok = size < kCapacity;
                ASSERT_EQ(deque.PushFront(value), ok);
                if (ok) expected.push_front(value);
                break;
            }
            case 2: {
                const bool ok = size < kCapacity && position >= 0 && position <= size;
                ASSERT_EQ(deque.Insert(position, value), ok);
                if (ok) expected.insert(expected.begin() + position, value);
                break;
            }
            case 3: {
                const bool ok = position >= 0 && position < size;
                ASSERT_EQ(deque.Erase(position), ok);
                if (ok) expected.erase(expected.begin() + position);
                break;
            }
            case 4:
                ASSERT_EQ(deque.PopBack(), size > 0);
                if (size > 0) expected.pop_back();
                break;
            default:
                ASSERT_EQ(deque.PopFront(), size > 0);
                if (size > 0) expected.pop_front();
                break;
        }
        ASSERT_EQ(deque.Size(), static_cast<int>(expected.size()));
        ASSERT_EQ(deque.Empty(), expected.empty());
        ASSERT_EQ(Contents(deque), std::vector<int>(expected.begin(), expected.end()));
        if (!expected.empty()) {
            ASSERT_EQ(deque.Back(), expected.back());
        }
    }
}

}  // namespace
