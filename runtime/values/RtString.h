// The game language's text value: NUL-terminated bytes in an owned block that
// grows in 512-byte steps, or the one shared empty buffer. Values copy deeply.
#pragma once

#include <concepts>
#include <cstdint>

class RtString {
  public:
    RtString();
    RtString(const char* text);
    RtString(const RtString& other);
    explicit RtString(int32_t number);
    explicit RtString(float number);
    explicit RtString(double number);
    ~RtString();

    RtString& operator=(const char* text);
    RtString& operator=(const RtString& other);
    RtString& operator=(int32_t number);
    RtString& operator=(float number);
    RtString& operator=(double number);

    RtString& operator+=(const char* text);
    RtString& operator+=(const RtString& other);
    RtString& operator+=(int32_t number);
    RtString& operator+=(float number);
    RtString& operator+=(double number);

    void Clear();  // frees the block; buffer null, capacity and length 0
    // Makes room for n bytes and the terminator; a text that would reach
    // 4 GiB, or that memory cannot hold, is runtime error 7.
    void Reserve(uint32_t n);
    const char* CStr() const;  // never null, also after Clear
    uint32_t Length() const { return length; }
    char* Buffer(uint32_t n);             // writable room for a platform call; then SyncLength
    void SyncLength();                    // length = bytes before the first NUL
    int CharAt(uint32_t position) const;  // the byte read as signed; 0 when empty
    void SetCharAt(uint32_t position, char byte);
    void CutAt(uint32_t position);

    char* buffer;
    uint32_t capacity;
    uint32_t length;

  private:
    void AssignNumberText(double number);
};

// Runtime error 7 for a text too large to hold; the program ends.
[[noreturn]] void TextTooLarge();

// A number operand of the text operators: the integer, float and double forms.
template <typename T>
concept RtNumber = std::same_as<T, int32_t> || std::same_as<T, float> || std::same_as<T, double>;

// Concatenation: the left operand starts the result (a number as its number
// text), the right one is appended.
RtString operator+(const RtString& left, const RtString& right);
RtString operator+(const RtString& left, const char* right);
RtString operator+(const char* left, const RtString& right);
template <RtNumber N>
RtString operator+(const RtString& left, N right) {
    RtString result(left);
    result += right;
    return result;
}
template <RtNumber N>
RtString operator+(N left, const RtString& right) {
    RtString result(left);
    result += right;
    return result;
}

// Comparisons give the language's truth values 1.0 and 0.0. Text against text
// compares bytes as strcmp does; text against a number compares the text's
// numeric value (atof rules), so a NaN on either side is never equal.
int CompareText(const char* left, const char* right);  // strcmp, null read as ""
double TextNumberValue(const RtString& text);
double operator==(const RtString& left, const RtString& right);

#define QUORBEL_TEXT_COMPARISON(op)                                             \
    inline double operator op(const RtString& left, const char* right) {        \
        return CompareText(left.CStr(), right) op 0 ? 1.0 : 0.0;                \
    }                                                                           \
    inline double operator op(const char* left, const RtString& right) {        \
        return CompareText(left, right.CStr()) op 0 ? 1.0 : 0.0;                \
    }                                                                           \
    template <RtNumber N>                                                       \
    double operator op(const RtString& left, N right) {                         \
        return TextNumberValue(left) op static_cast<double>(right) ? 1.0 : 0.0; \
    }                                                                           \
    template <RtNumber N>                                                       \
    double operator op(N left, const RtString& right) {                         \
        return static_cast<double>(left) op TextNumberValue(right) ? 1.0 : 0.0; \
    }
QUORBEL_TEXT_COMPARISON(==)
QUORBEL_TEXT_COMPARISON(!=)
QUORBEL_TEXT_COMPARISON(<)
QUORBEL_TEXT_COMPARISON(>)
QUORBEL_TEXT_COMPARISON(<=)
QUORBEL_TEXT_COMPARISON(>=)
#undef QUORBEL_TEXT_COMPARISON

inline double operator!=(const RtString& left, const RtString& right) {
    return (left == right) != 0 ? 0.0 : 1.0;
}
inline double operator<(const RtString& left, const RtString& right) {
    return CompareText(left.CStr(), right.CStr()) < 0 ? 1.0 : 0.0;
}
inline double operator>(const RtString& left, const RtString& right) {
    return CompareText(left.CStr(), right.CStr()) > 0 ? 1.0 : 0.0;
}
inline double operator<=(const RtString& left, const RtString& right) {
    return CompareText(left.CStr(), right.CStr()) <= 0 ? 1.0 : 0.0;
}
inline double operator>=(const RtString& left, const RtString& right) {
    return CompareText(left.CStr(), right.CStr()) >= 0 ? 1.0 : 0.0;
}
