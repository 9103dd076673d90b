#include "runtime/runtime.h"

#include <cstring>

#include "runtime/values/Truncate.h"

namespace {

RtString ShiftCase(const RtString& text, char first, char last) {
    RtString result(text);
    for (uint32_t i = 0; i < result.length; ++i)
        if (result.buffer[i] >= first && result.buffer[i] <= last) result.buffer[i] ^= 0x20;
    return result;
}

}  // namespace

double CharCode(const RtString& text) {
    return static_cast<unsigned char>(text.CStr()[0]);
}

RtString CharText(double code) {
    const char text[2] = {static_cast<char>(static_cast<int16_t>(TruncateInt32(code))), 0};
    return RtString(text);
}

RtString UpperText(const RtString& text) {
    return ShiftCase(text, 'a', 'z');
}

RtString LowerText(const RtString& text) {
    return ShiftCase(text, 'A', 'Z');
}

double FindText(const char* haystack, const char* needle) {
    if (!haystack) haystack = "";
    if (!needle) needle = "";
    const char* found = std::strstr(haystack, needle);
    return found ? static_cast<double>(found - haystack) : -1.0;
}

double FindText(const RtString& haystack, const char* needle) {
    return FindText(haystack.CStr(), needle);
}

double FindText(const char* haystack, const RtString& needle) {
    return FindText(haystack, needle.CStr());
}

double FindText(const RtString& haystack, const RtString& needle) {
    return FindText(haystack.CStr(), needle.CStr());
}

RtString HexText(const void* bytes, uint32_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    RtString text;
    if (!count || !bytes) return text;
    if (count >= 0x7FFFFF00u) TextTooLarge();
    char* out = text.Buffer(count * 2);
    const unsigned char* in = static_cast<const unsigned char*>(bytes);
    for (uint32_t i = 0; i < count; ++i) {
        out[2 * i] = kDigits[in[i] >> 4];
        out[2 * i + 1] = kDigits[in[i] & 15];
    }
    out[2 * count] = 0;
    text.length = 2 * count;
    return text;
}

void TrimControlTail(RtString& text) {
    uint32_t length = text.length;
    while (length && static_cast<signed char>(text.buffer[length - 1]) <= 31) --length;
    if (length == text.length) return;
    text.buffer[length] = 0;
    text.length = length;
}
