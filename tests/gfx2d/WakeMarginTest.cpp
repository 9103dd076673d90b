// The frame wait's margin follows how late this machine's sleeps come back.
#include <gtest/gtest.h>

#include "runtime/gfx2d/WakeMargin.h"

namespace {

TEST(WakeMargin, StartsAtOneMillisecondUntilSleepsWereMeasured) {
    WakeMargin margin;
    for (int i = 0; i < 31; ++i) margin.Record(0.01);
    EXPECT_DOUBLE_EQ(margin.Ms(), WakeMargin::kFirstMs);
}

TEST(WakeMargin, PromptWakeUpsSpinTheLeast) {
    WakeMargin margin;
    for (int i = 0; i < 128; ++i) margin.Record(0.02);
    EXPECT_DOUBLE_EQ(margin.Ms(), WakeMargin::kLeastMs);
}

TEST(WakeMargin, FollowsTheLateWakeUpsAboveTheNinetySeventhPercentile) {
    WakeMargin margin;
    // 5 of 128 are late: more than 3 %, so the margin covers them.
    for (int i = 0; i < 128; ++i) margin.Record(i % 25 == 0 && i < 125 ? 1.5 : 0.1);
    EXPECT_NEAR(margin.Ms(), 1.55, 1e-9);
    // Once they have aged out of the kept sleeps, the margin comes down again.
    for (int i = 0; i < 128; ++i) margin.Record(0.3);
    EXPECT_NEAR(margin.Ms(), 0.35, 1e-9);
}

TEST(WakeMargin, ARareLateWakeUpAndNegativeOnesAreIgnored) {
    WakeMargin margin;
    for (int i = 0; i < 128; ++i) margin.Record(i == 7 ? 9.0 : -0.5);
    EXPECT_DOUBLE_EQ(margin.Ms(), WakeMargin::kLeastMs);
}

TEST(WakeMargin, NeverSpinsMoreThanTwoMilliseconds) {
    WakeMargin margin;
    for (int i = 0; i < 128; ++i) margin.Record(12.0);
    EXPECT_DOUBLE_EQ(margin.Ms(), WakeMargin::kMostMs);
}

}  // namespace
