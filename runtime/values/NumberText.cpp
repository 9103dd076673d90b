#include "runtime/values/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "runtime/values/Truncate.h"

namespace {

constexpr int kSignificant = 10;
constexpr uint32_t kBlockText = 511;  // FormatNumber's 512-byte block, less its terminator

// The value's first ten significant digits, rounded half away from zero, with
// the exponent of the first digit before rounding (which chooses the form) and
// after it (which a carry into a new power of ten raises by one).
struct RoundedDigits {
    char digits[kSignificant];
    int exponentBefore;
    int exponentAfter;
};

int ParseExponent(const char* text) {
    int value = 0;
    std::from_chars(text + (*text == '+' ? 1 : 0), text + std::strlen(text), value);
    return value;
}

// Rounds `digits` (at least eleven of them) to ten, half away from zero: the
// eleventh digit decides, so the caller makes sure it can.
void RoundDecimal(const char* digits, int exponent, RoundedDigits* out) {
    std::memcpy(out->digits, digits, kSignificant);
    out->exponentBefore = exponent;
    out->exponentAfter = exponent;
    if (digits[kSignificant] < '5') return;
    int position = kSignificant - 1;
    while (position >= 0 && out->digits[position] == '9') out->digits[position--] = '0';
    if (position >= 0) {
        ++out->digits[position];
        return;
    }
    out->digits[0] = '1';
    ++out->exponentAfter;
}

// Exact digits: glibc prints a double's whole decimal expansion (at most 767
// significant digits) without rounding when the precision is large enough.
void ExactRoundedDigits(double magnitude, RoundedDigits* out) {
    char text[800];
    std::snprintf(text, sizeof text, "%.780e", magnitude);
    char digits[782];
    digits[0] = text[0];
    std::memcpy(digits + 1, text + 2, 780);
    digits[781] = 0;
    RoundDecimal(digits, ParseExponent(text + 783), out);
}

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Seventeen correctly rounded digits settle the ten-digit rounding unless the
// tail sits at a rounding boundary or the seventeen-digit rounding may itself
// have carried into the next power of ten; those rare values take the exact path.
void FastRoundedDigits(double magnitude, RoundedDigits* out) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 16);
    *result.ptr = 0;
    char digits[18];
    digits[0] = text[0];
    std::memcpy(digits + 1, text + 2, 16);
    digits[17] = 0;
    const int exponent = ParseExponent(text + 19);
    if (std::strcmp(digits, "10000000000000000") == 0) {
        const bool exactPower =
            exponent >= 0 && exponent <= 22 && magnitude == kExactPowersOfTen[exponent];
        if (!exactPower) return ExactRoundedDigits(magnitude, out);
    } else if (std::strcmp(digits + kSignificant, "5000000") == 0) {
        return ExactRoundedDigits(magnitude, out);
    }
    RoundDecimal(digits, exponent, out);
}

uint32_t WriteSpecial(double value, char* out) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = bits >> 63;
    const char* text;
    if (std::isinf(value))
        text = negative ? "-1.#INF" : "1.#INF";
    else if (bits == 0xFFF8000000000000ull)
        text = "-1.#IND";  // the processor's default NaN, as 0/0 and sqrt(-1) give it
    else if (bits & 0x0008000000000000ull)
        text = negative ? "-1.#QNAN" : "1.#QNAN";
    else
        text = negative ? "-1.#SNAN" : "1.#SNAN";
    const size_t length = std::strlen(text);
    std::memcpy(out, text, length + 1);
    return static_cast<uint32_t>(length);
}

char DigitAt(const RoundedDigits& rounded, int exponent) {
    const int index = rounded.exponentAfter - exponent;
    return index >= 0 && index < kSignificant ? rounded.digits[index] : '0';
}

char* WriteFixed(const RoundedDigits& rounded, char* out) {
    if (rounded.exponentAfter < 0) *out++ = '0';
    for (int exponent = rounded.exponentAfter; exponent >= 0; --exponent)
        *out++ = DigitAt(rounded, exponent);
    const int decimals = kSignificant - 1 - rounded.exponentBefore;
    if (decimals > 0) {
        *out++ = '.';
        for (int exponent = -1; exponent >= -decimals; --exponent)
            *out++ = DigitAt(rounded, exponent);
    }
    return out;
}

char* WriteExponential(const RoundedDigits& rounded, char* out) {
    *out++ = rounded.digits[0];
    *out++ = '.';
    std::memcpy(out, rounded.digits + 1, kSignificant - 1);
    out += kSignificant - 1;
    int exponent = rounded.exponentAfter;
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    if (exponent < 0) exponent = -exponent;
    *out++ = static_cast<char>('0' + exponent / 100);
    *out++ = static_cast<char>('0' + exponent / 10 % 10);
    *out++ = static_cast<char>('0' + exponent % 10);
    return out;
}

// Zeros ending the digits after the point go; in exponential form those just
// before the "e". A point left at the very end goes too.
uint32_t TrimZeros(char* text, char* end) {
    char* point = static_cast<char*>(std::memchr(text, '.', end - text));
    if (!point) {
        *end = 0;
        return static_cast<uint32_t>(end - text);
    }
    char* e = static_cast<char*>(std::memchr(point, 'e', end - point));
    char* digitsEnd = e ? e : end;
    char* cut = digitsEnd;
    while (cut > point + 1 && cut[-1] == '0') --cut;
    if (e) {
        std::memmove(cut, e, end - e);
        end = cut + (end - e);
    } else {
        end = cut;
        if (end == point + 1) end = point;
    }
    *end = 0;
    return static_cast<uint32_t>(end - text);
}

using RoundingPath = void (*)(double, RoundedDigits*);

uint32_t WriteNumberTextWith(double value, char* out, RoundingPath roundDigits) {
    if (value == 0) {
        std::memcpy(out, "0", 2);
        return 1;
    }
    if (!std::isfinite(value)) return WriteSpecial(value, out);
    char* text = out;
    if (value < 0) *out++ = '-';
    RoundedDigits rounded;
    roundDigits(std::fabs(value), &rounded);
    const bool exponential = rounded.exponentBefore < -1 || rounded.exponentBefore > 9;
    char* end = exponential ? WriteExponential(rounded, out) : WriteFixed(rounded, out);
    return static_cast<uint32_t>(out - text) + TrimZeros(out, end);
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal order of a number that does not fit a double: positive for an
// overflow, negative for an underflow.
long long DecimalOrder(const char* mantissa, const char* mantissaEnd, long long exponent) {
    long long order = 0;
    bool seenPoint = false, seenDigit = false;
    for (const char* p = mantissa; p < mantissaEnd; ++p) {
        if (*p == '.') {
            seenPoint = true;
        } else if (!seenDigit && *p == '0') {
            if (seenPoint) --order;
        } else if (!seenDigit) {
            seenDigit = true;
            if (seenPoint) --order;
        } else if (!seenPoint) {
            ++order;
        }
    }
    return order + exponent;
}

}  // namespace

uint32_t WriteNumberText(double value, char* out) {
    return WriteNumberTextWith(value, out, FastRoundedDigits);
}

uint32_t WriteIntegerText(int32_t value, char* out) {
    const auto result = std::to_chars(out, out + 16, value);
    *result.ptr = 0;
    return static_cast<uint32_t>(result.ptr - out);
}

RtString NumberText(double value) {
    return RtString(value);
}

RtString NumberTextReference(double value) {
    RtString text;
    text.Reserve(64);
    text.length = WriteNumberTextWith(value, text.buffer, ExactRoundedDigits);
    return text;
}

RtString IntegerText(int32_t value) {
    return RtString(value);
}

RtString FormatNumber(double width, double decimals, double value) {
    // Clipped so the text always fits the block: a width beyond it cannot be
    // honoured, and decimals give way until the number fits.
    int fieldWidth = TruncateInt32(width);
    if (fieldWidth > static_cast<int>(kBlockText)) fieldWidth = kBlockText;
    if (fieldWidth < -static_cast<int>(kBlockText)) fieldWidth = -static_cast<int>(kBlockText);
    int precision = TruncateInt32(decimals);
    if (precision < 0) precision = 0;
    if (precision > static_cast<int>(kBlockText)) precision = kBlockText;
    int needed = std::snprintf(nullptr, 0, "%*.*f", fieldWidth, precision, value);
    while (needed > static_cast<int>(kBlockText) && precision > 0) {
        precision -= needed - static_cast<int>(kBlockText);
        if (precision < 0) precision = 0;
        needed = std::snprintf(nullptr, 0, "%*.*f", fieldWidth, precision, value);
    }
    RtString text;
    char* block = text.Buffer(kBlockText);
    std::snprintf(block, kBlockText + 1, "%*.*f", fieldWidth, precision, value);
    text.SyncLength();
    return text;
}

double ParseNumber(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsBlank(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    const char* mantissa = p;
    int digits = 0;
    while (IsDigit(*p)) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) ++p, ++digits;
    }
    if (!digits) return 0;
    const char* mantissaEnd = p;
    long long exponent = 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        const bool negativeExponent = *q == '-';
        if (*q == '-' || *q == '+') ++q;
        if (IsDigit(*q)) {
            while (IsDigit(*q)) {
                if (exponent < 100000000) exponent = exponent * 10 + (*q - '0');
                ++q;
            }
            if (negativeExponent) exponent = -exponent;
            p = q;
        }
    }
    double value = 0;
    const auto result = std::from_chars(mantissa, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = DecimalOrder(mantissa, mantissaEnd, exponent) > 0 ? HUGE_VAL : 0.0;
    return negative ? -value : value;
}

double TextToNumber(const RtString& text) {
    return ParseNumber(text.CStr());
}
