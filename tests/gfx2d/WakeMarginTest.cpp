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

TEST(WakeMargin, CoversTheLatestOfTheKeptWakeUps) {
    WakeMargin margin;
    // One late wake-up among 128 prompt ones still sets the margin.
    for (int i = 0; i < 128; ++i) margin.Record(i == 40 ? 1.5 : 0.1);
    EXPECT_NEAR(margin.Ms(), 1.55, 1e-9);
    // Once it has aged out of the kept sleeps, the margin comes down again.
    for (int i = 0; i < 128; ++i) margin.Record(0.3);
    EXPECT_NEAR(margin.Ms(), 0.35, 1e-9);
}

TEST(WakeMargin, EarlyWakeUpsCountAsPrompt) {
    WakeMargin margin;
    for (int i = 0; i < 128; ++i) margin.Record(-0.5);
    EXPECT_DOUBLE_EQ(margin.Ms(), WakeMargin::kLeastMs);
}

TEST(WakeMargin, OnASharedCoreAimsAtTheUsualWakeUpForTwoSeconds) {
    WakeMargin margin;
    // Most wake-ups 0.6 ms late, a few 1.8 ms: alone, the margin covers the latest.
    for (int i = 0; i < 128; ++i) margin.Record(i % 10 == 0 ? 1.8 : 0.6);
    EXPECT_NEAR(margin.Ms(), 1.85, 1e-9);
    margin.RecordSpin(true);
    EXPECT_NEAR(margin.Ms(), 0.6, 1e-9);
    for (int i = 0; i < 119; ++i) margin.RecordSpin(false);
    EXPECT_NEAR(margin.Ms(), 0.6, 1e-9);
    margin.RecordSpin(false);
    EXPECT_NEAR(margin.Ms(), 1.85, 1e-9);
    // Sharing starts the two seconds again; prompt wake-ups still spin the least.
    margin.RecordSpin(true);
    for (int i = 0; i < 128; ++i) margin.Record(0.01);
    EXPECT_DOUBLE_EQ(margin.Ms(), WakeMargin::kLeastMs);
}

TEST(WakeMargin, NeverSpinsMoreThanTwoMilliseconds) {
    WakeMargin margin;
    for (int i = 0; i < 128; ++i) margin.Record(12.0);
    EXPECT_DOUBLE_EQ(margin.Ms(), WakeMargin::kMostMs);
}

}  // namespace
