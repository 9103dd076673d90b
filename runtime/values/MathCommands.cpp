#include "runtime/runtime.h"

#include <cmath>
#include <cstdint>

#include "runtime/values/NumberText.h"
#include "runtime/values/Truncate.h"

namespace {
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;
}  // namespace

double TextLength(const RtString& text) {
    return text.Length();
}

double NumberTextLength(double x) {
    char text[32];
    return WriteNumberText(x, text);
}

double SinDeg(double x) {
    return std::sin(x * kRadiansPerDegree);
}

double CosDeg(double x) {
    return std::cos(x * kRadiansPerDegree);
}

double TanDeg(double x) {
    return std::tan(x * kRadiansPerDegree);
}

double Atan2Deg(double y, double x) {
    return std::atan2(y, x) * kDegreesPerRadian;
}

double AsinDeg(double x) {
    if (x >= 1) return 90;
    if (x <= -1) return -90;
    return std::asin(x) * kDegreesPerRadian;
}

double AcosDeg(double x) {
    if (x >= 1) return 0;
    if (x <= -1) return 180;
    return std::acos(x) * kDegreesPerRadian;
}

double Power(double x, double y) {
    return std::pow(x, y);
}

double SquareRoot(double x) {
    return std::sqrt(x);
}

double AbsValue(double x) {
    return x < 0 ? -x : x;
}

double IntMod(double a, double b) {
    if (b == 0) return 0;
    const int32_t dividend = TruncateInt32(a);
    const int32_t divisor = TruncateInt32(b);
    // A divisor below 1 in size and the one quotient that overflows would fault
    // the processor's division: both give 0.
    if (divisor == 0 || divisor == -1) return 0;
    return dividend % divisor;
}

double FloatMod(double a, double b) {
    if (b == 0) return 0;
    return std::fmod(a, b);
}
