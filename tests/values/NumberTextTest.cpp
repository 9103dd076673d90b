#include "runtime/runtime.h"
#include "runtime/values/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Text(double value) {
    return NumberText(value).CStr();
}

TEST(NumberText, EveryRowOfTheTable) {
    EXPECT_EQ(Text(0), "0");
    EXPECT_EQ(Text(1), "1");
    EXPECT_EQ(Text(100), "100");
    EXPECT_EQ(Text(-2.5), "-2.5");
    EXPECT_EQ(Text(0.1), "0.1");
    EXPECT_EQ(Text(0.25), "0.25");
    EXPECT_EQ(Text(1.0 / 3), "0.3333333333");
    EXPECT_EQ(Text(2.0 / 3), "0.6666666667");
    EXPECT_EQ(Text(3.14159265358979), "3.141592654");
    EXPECT_EQ(Text(123.456), "123.456");
    EXPECT_EQ(Text(1234567890), "1234567890");
    EXPECT_EQ(Text(1234567890.6), "1234567891");
    EXPECT_EQ(Text(10000000000.0), "1.e+010");
    EXPECT_EQ(Text(12345678901.0), "1.23456789e+010");
    EXPECT_EQ(Text(0.05), "5.e-002");
    EXPECT_EQ(Text(0.001234), "1.234e-003");
}

TEST(NumberText, FormIsChosenBeforeRounding) {
    EXPECT_EQ(Text(0.1 + 0.2), "0.3");
    EXPECT_EQ(Text(9999999999.6), "10000000000");  // ten nines .6: fixed form kept
    EXPECT_EQ(Text(-9999999999.6), "-10000000000");
    EXPECT_EQ(Text(0.0999999999999), "1.e-001");
    EXPECT_EQ(Text(0.99999999996), "1");  // ten decimals round up to 1.0000000000
    EXPECT_EQ(Text(99999.999999), "100000");
    EXPECT_EQ(Text(0.09999999999), "9.999999999e-002");
}

TEST(NumberText, FixedFormBoundaries) {
    EXPECT_EQ(Text(1e9), "1000000000");
    EXPECT_EQ(Text(9999999999.0), "9999999999");
    EXPECT_EQ(Text(0.1), "0.1");
    EXPECT_EQ(Text(0.123456789012), "0.123456789");  // ten decimals, the final zero then goes
    EXPECT_EQ(Text(0.5), "0.5");
    EXPECT_EQ(Text(123456.7890123), "123456.789");
    EXPECT_EQ(Text(-0.75), "-0.75");
    EXPECT_EQ(Text(42), "42");
    EXPECT_EQ(Text(1234567890.5), "1234567891");  // an exact tie rounds away from zero
    EXPECT_EQ(Text(-1234567890.5), "-1234567891");
    EXPECT_EQ(Text(1234567889.5), "1234567890");
}

TEST(NumberText, ExponentialForm) {
    EXPECT_EQ(Text(0.01), "1.e-002");
    EXPECT_EQ(Text(1e100), "1.e+100");
    EXPECT_EQ(Text(-1.234567891e-100), "-1.234567891e-100");
    EXPECT_EQ(Text(12345678905.0), "1.234567891e+010");  // exact tie
    EXPECT_EQ(Text(1.5e-5), "1.5e-005");
    EXPECT_EQ(Text(DBL_MAX), "1.797693135e+308");
    EXPECT_EQ(Text(DBL_MIN), "2.225073859e-308");
    EXPECT_EQ(Text(std::numeric_limits<double>::denorm_min()), "4.940656458e-324");
    EXPECT_EQ(Text(1e23), "1.e+023");  // the double lies just below 10^23
    EXPECT_EQ(Text(99999999999.99999), "1.e+011");
}

TEST(NumberText, ZeroAndSpecialValues) {
    EXPECT_EQ(Text(-0.0), "0");
    EXPECT_EQ(Text(HUGE_VAL), "1.#INF");
    EXPECT_EQ(Text(-HUGE_VAL), "-1.#INF");
    EXPECT_EQ(Text(std::bit_cast<double>(0xFFF8000000000000ull)), "-1.#IND");
    EXPECT_EQ(Text(std::bit_cast<double>(0x7FF8000000000000ull)), "1.#QNAN");
}

TEST(NumberText, OwnsA512ByteBlock) {
    RtString text = NumberText(1.5);
    EXPECT_EQ(text.capacity, 512u);
    EXPECT_EQ(text.length, 3u);
    RtString integer = IntegerText(7);
    EXPECT_EQ(integer.capacity, 512u);
}

TEST(NumberText, FastPathAgreesWithExactExpansion) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<long long> mantissa(1000000000LL, 9999999999LL);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int n = 0; n < 20000; ++n) {
        // Near the ten-digit rounding boundary, where a double rounding would go wrong.
        const double tie =
            (static_cast<double>(mantissa(random)) + 0.5) * std::pow(10.0, exponent(random) - 9);
        ASSERT_STREQ(NumberText(tie).CStr(), NumberTextReference(tie).CStr()) << tie;
        const double bits = std::bit_cast<double>(random() & 0x7FEFFFFFFFFFFFFFull);
        ASSERT_STREQ(NumberText(bits).CStr(), NumberTextReference(bits).CStr()) << bits;
        const double power =
            std::nextafter(std::pow(10.0, exponent(random)), n % 2 ? 0.0 : HUGE_VAL);
        ASSERT_STREQ(NumberText(power).CStr(), NumberTextReference(power).CStr()) << power;
    }
}

TEST(IntegerText, Decimal) {
    EXPECT_STREQ(IntegerText(0).CStr(), "0");
    EXPECT_STREQ(IntegerText(-45).CStr(), "-45");
    EXPECT_STREQ(IntegerText(2147483647).CStr(), "2147483647");
    EXPECT_STREQ(IntegerText(-2147483647 - 1).CStr(), "-2147483648");
}

TEST(FormatNumber, PrintfFixedPoint) {
    EXPECT_STREQ(FormatNumber(5, 2, 3.14159).CStr(), " 3.14");
    EXPECT_STREQ(FormatNumber(1, 3, -1).CStr(), "-1.000");
    EXPECT_STREQ(FormatNumber(1, 2, 123.456).CStr(), "123.46");
    EXPECT_STREQ(FormatNumber(8, 1, 12.34).CStr(), "    12.3");
    EXPECT_STREQ(FormatNumber(8.9, 1.7, 2).CStr(), "     2.0");  // truncated to 8 and 1
    EXPECT_STREQ(FormatNumber(-6, 1, 2.5).CStr(), "2.5   ");     // a negative width aligns left
    EXPECT_STREQ(FormatNumber(0, 0, 2.4).CStr(), "2");
    EXPECT_EQ(FormatNumber(0, 0, 2.4).capacity, 512u);
}

TEST(FormatNumber, OversizedRequestsAreClippedToTheBlock) {
    const RtString wide = FormatNumber(100000, 2, 1);
    EXPECT_EQ(wide.length, 511u);
    EXPECT_EQ(wide.capacity, 512u);
    EXPECT_EQ(std::string(wide.CStr()).substr(507), "1.00");
    const RtString precise = FormatNumber(0, 5000, 1);
    EXPECT_EQ(precise.length, 511u);
    EXPECT_EQ(std::string(precise.CStr()).substr(0, 6), "1.0000");
    const RtString huge = FormatNumber(600, 600, -DBL_MAX);
    EXPECT_EQ(huge.length, 511u);
    EXPECT_EQ(huge.CStr()[0], '-');
    EXPECT_EQ(std::strlen(huge.CStr()), 511u);
    EXPECT_EQ(FormatNumber(3e9, 2, 1).length, 511u);  // beyond 32 bits: clipped too
    EXPECT_EQ(FormatNumber(5, -4, 2.7).length, 5u);   // negative decimals count as none
}

TEST(TextToNumber, AtofRules) {
    EXPECT_EQ(TextToNumber(RtString("  12abc")), 12);
    EXPECT_EQ(TextToNumber(RtString("abc")), 0);
    EXPECT_EQ(TextToNumber(RtString("-1.5e2x")), -150);
    EXPECT_EQ(TextToNumber(RtString("")), 0);
    EXPECT_EQ(TextToNumber(RtString()), 0);
    EXPECT_EQ(ParseNumber("\t\n\v\f\r 7"), 7);
    EXPECT_EQ(ParseNumber("+.5e1"), 5);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("5."), 5);
    EXPECT_EQ(ParseNumber("."), 0);
    EXPECT_EQ(ParseNumber("-"), 0);
    EXPECT_EQ(ParseNumber("1e"), 1);
    EXPECT_EQ(ParseNumber("1e+"), 1);
    EXPECT_EQ(ParseNumber("2E-3"), 0.002);
    EXPECT_EQ(ParseNumber("00012"), 12);
    EXPECT_EQ(ParseNumber("1,5"), 1);
    EXPECT_EQ(ParseNumber("- 5"), 0);
    EXPECT_EQ(ParseNumber("0.1"), 0.1);
    EXPECT_EQ(ParseNumber("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_EQ(ParseNumber(nullptr), 0);
}

TEST(TextToNumber, NoHexInfinityOrNaN) {
    EXPECT_EQ(ParseNumber("0x1A"), 0);
    EXPECT_EQ(ParseNumber("inf"), 0);
    EXPECT_EQ(ParseNumber("-INFINITY"), 0);
    EXPECT_EQ(ParseNumber("nan"), 0);
    EXPECT_EQ(ParseNumber("1p3"), 1);
}

TEST(TextToNumber, OutOfRange) {
    EXPECT_EQ(ParseNumber("1e400"), HUGE_VAL);
    EXPECT_EQ(ParseNumber("-1e400"), -HUGE_VAL);
    EXPECT_EQ(ParseNumber("1e-400"), 0);
    EXPECT_EQ(ParseNumber("0.00000000000000000001e330"), HUGE_VAL);  // 1e310
    EXPECT_EQ(ParseNumber("100000000000000000000e-345"), 0);         // 1e-325
    EXPECT_EQ(ParseNumber("1e99999999999999999999"), HUGE_VAL);
    EXPECT_EQ(ParseNumber("1e-99999999999999999999"), 0);
    EXPECT_EQ(ParseNumber("0e99999"), 0);
    EXPECT_EQ(ParseNumber("2e-320"), 2e-320);  // a subnormal is a number, not an underflow
}

TEST(TextToNumber, NumberTextReadsBack) {
    for (double value : {1.0 / 3, 123.456, -2.5e-7, 6.02214076e23, 0.001234})
        EXPECT_DOUBLE_EQ(TextToNumber(NumberText(value)), std::stod(Text(value)));
}

}  // namespace
