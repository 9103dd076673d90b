#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(MathCommands, Lengths) {
    EXPECT_EQ(TextLength(RtString("hello")), 5);
    EXPECT_EQ(TextLength(RtString()), 0);
    EXPECT_EQ(NumberTextLength(1.5), 3);
    EXPECT_EQ(NumberTextLength(0), 1);
    EXPECT_EQ(NumberTextLength(-1e10), 8);  // -1.e+010
    EXPECT_EQ(NumberTextLength(1.0 / 3), 12);
}

TEST(MathCommands, DegreeTrigonometry) {
    EXPECT_EQ(SinDeg(90), 1);
    EXPECT_EQ(CosDeg(180), -1);
    EXPECT_NEAR(TanDeg(45), 1, 1e-15);
    EXPECT_EQ(SinDeg(720), std::sin(720 * 0.017453292519943295));  // no reduction of its own
    EXPECT_EQ(Atan2Deg(1, 0), 90);
    EXPECT_EQ(Atan2Deg(0, -1), 180);
    EXPECT_EQ(Atan2Deg(-1, 0), -90);
    EXPECT_NEAR(Atan2Deg(1, 1), 45, 1e-13);
}

TEST(MathCommands, InverseSineAndCosineClamp) {
    EXPECT_EQ(AsinDeg(1.0000001), 90);
    EXPECT_EQ(AsinDeg(1), 90);
    EXPECT_EQ(AsinDeg(-3), -90);
    EXPECT_NEAR(AsinDeg(0.5), 30, 1e-13);
    EXPECT_EQ(AcosDeg(-2), 180);
    EXPECT_EQ(AcosDeg(1.5), 0);
    EXPECT_EQ(AcosDeg(0), 90);
    EXPECT_NEAR(AcosDeg(0.5), 60, 1e-13);
}

TEST(MathCommands, PowerRootAbs) {
    EXPECT_EQ(Power(2, 10), 1024);
    EXPECT_EQ(Power(9, 0.5), 3);
    EXPECT_EQ(SquareRoot(16), 4);
    EXPECT_TRUE(std::isnan(SquareRoot(-1)));
    EXPECT_EQ(AbsValue(-2.5), 2.5);
    EXPECT_EQ(AbsValue(3), 3);
}

TEST(MathCommands, IntMod) {
    EXPECT_EQ(IntMod(7, 3), 1);
    EXPECT_EQ(IntMod(-7, 3), -1);
    EXPECT_EQ(IntMod(7, -3), 1);
    EXPECT_EQ(IntMod(7.9, 3.9), 1);
    EXPECT_EQ(IntMod(5, 0), 0);
    EXPECT_EQ(IntMod(62, 63), 62);
    EXPECT_EQ(IntMod(1e10, 7), -2);  // outside 32 bits: -2147483648 mod 7
}

TEST(MathCommands, IntModNeverFaults) {
    EXPECT_EQ(IntMod(5, 0.5), 0);  // the divisor truncates to 0
    EXPECT_EQ(IntMod(5, -0.9), 0);
    EXPECT_EQ(IntMod(-2147483648.0, -1), 0);
    EXPECT_EQ(IntMod(-2147483648.0, -1.5), 0);
    EXPECT_EQ(IntMod(5, std::nan("")), 5);  // NaN truncates to -2147483648
    EXPECT_EQ(IntMod(-2147483648.0, 3), -2);
}

TEST(MathCommands, FloatMod) {
    EXPECT_EQ(FloatMod(7.5, 2), 1.5);
    EXPECT_EQ(FloatMod(-7.5, 2), -1.5);
    EXPECT_EQ(FloatMod(1, 0), 0);
    EXPECT_EQ(FloatMod(7.5, -2), 1.5);
}

}  // namespace
