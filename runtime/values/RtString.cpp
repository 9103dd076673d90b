#include "runtime/values/RtString.h"
#include "runtime/runtime.h"

#include <cstring>
#include <new>

#include "runtime/values/NumberText.h"

namespace {

// The one shared empty text. It is never written: every writer reserves first.
char gEmptyText[1] = "";

constexpr uint32_t kBlockStep = 512;
constexpr uint32_t kNumberReserve = 64;

constexpr uint32_t kLengthLimit = 0xFFFFFE00u;  // the last block step fits 32 bits

uint32_t CheckedSum(uint32_t a, size_t b) {
    const uint64_t sum = static_cast<uint64_t>(a) + b;
    if (sum >= kLengthLimit) TextTooLarge();
    return static_cast<uint32_t>(sum);
}

bool PointsInto(const char* text, const char* block, uint32_t size) {
    return block && size && text >= block && text < block + size;
}

}  // namespace

void TextTooLarge() {
    SetRuntimeError(7);
    EndProgram();
}

RtString::RtString() : buffer(gEmptyText), capacity(0), length(0) {}

RtString::RtString(const char* text) : RtString() {
    *this = text;
}

RtString::RtString(const RtString& other) : RtString() {
    *this = other;
}

RtString::RtString(int32_t number) : RtString() {
    *this = number;
}

RtString::RtString(float number) : RtString() {
    *this = number;
}

RtString::RtString(double number) : RtString() {
    *this = number;
}

RtString::~RtString() {
    Clear();
}

void RtString::Clear() {
    if (capacity) delete[] buffer;
    buffer = nullptr;
    capacity = 0;
    length = 0;
}

void RtString::Reserve(uint32_t n) {
    if (n < capacity) return;
    if (n >= kLengthLimit) TextTooLarge();
    const uint32_t newCapacity = (n & ~(kBlockStep - 1)) + kBlockStep;
    char* block = new (std::nothrow) char[newCapacity];
    if (!block) TextTooLarge();
    // The whole old block moves, so bytes a platform call wrote past an inner
    // NUL survive as well.
    if (capacity)
        std::memcpy(block, buffer, capacity);
    else
        block[0] = 0;
    if (capacity) delete[] buffer;
    buffer = block;
    capacity = newCapacity;
}

const char* RtString::CStr() const {
    return length ? buffer : gEmptyText;
}

char* RtString::Buffer(uint32_t n) {
    Reserve(n);
    return buffer;
}

void RtString::SyncLength() {
    if (!capacity || !buffer[0]) {
        length = 0;
        return;
    }
    // A fill without a terminator is cut at the last byte so the text stays terminated.
    length = static_cast<uint32_t>(strnlen(buffer, capacity - 1));
    buffer[length] = 0;
}

int RtString::CharAt(uint32_t position) const {
    if (!length) return 0;
    return static_cast<signed char>(buffer[position]);
}

void RtString::SetCharAt(uint32_t position, char byte) {
    if (capacity) buffer[position] = byte;
}

void RtString::CutAt(uint32_t position) {
    if (capacity) buffer[position] = 0;
    SyncLength();
}

RtString& RtString::operator=(const char* text) {
    if (!text) text = gEmptyText;
    const uint32_t newLength = CheckedSum(0, std::strlen(text));
    if (PointsInto(text, buffer, capacity)) {
        // The text is part of this value: it sits inside the block, which is
        // big enough already, so no reallocation can pull it away.
        std::memmove(buffer, text, newLength);
    } else {
        Reserve(newLength);
        std::memcpy(buffer, text, newLength);
    }
    buffer[newLength] = 0;
    length = newLength;
    return *this;
}

RtString& RtString::operator=(const RtString& other) {
    if (this == &other) return *this;
    const uint32_t newLength = other.length;
    Reserve(newLength);
    std::memcpy(buffer, other.CStr(), newLength);
    buffer[newLength] = 0;
    length = newLength;
    return *this;
}

void RtString::AssignNumberText(double number) {
    Reserve(kNumberReserve);
    length = WriteNumberText(number, buffer);
}

RtString& RtString::operator=(int32_t number) {
    Reserve(kNumberReserve);
    length = WriteIntegerText(number, buffer);
    return *this;
}

RtString& RtString::operator=(float number) {
    AssignNumberText(static_cast<double>(number));
    return *this;
}

RtString& RtString::operator=(double number) {
    AssignNumberText(number);
    return *this;
}

RtString& RtString::operator+=(const char* text) {
    if (!text) text = gEmptyText;
    const size_t added = std::strlen(text);
    const uint32_t newLength = CheckedSum(length, added);
    if (PointsInto(text, buffer, capacity) && newLength >= capacity) {
        RtString copy(text);
        return *this += copy.CStr();
    }
    Reserve(newLength);
    // Appending starts at the first NUL, as strcat does.
    std::memmove(buffer + std::strlen(buffer), text, added + 1);
    length = newLength;
    return *this;
}

RtString& RtString::operator+=(const RtString& other) {
    const uint32_t oldLength = length;
    const uint32_t added = other.length;
    const uint32_t newLength = CheckedSum(oldLength, added);
    Reserve(newLength);
    // Read the source only now: appending a value to itself follows its new block.
    std::memmove(buffer + oldLength, other.CStr(), added);
    buffer[newLength] = 0;
    length = newLength;
    return *this;
}

RtString& RtString::operator+=(int32_t number) {
    return *this += RtString(number);
}

RtString& RtString::operator+=(float number) {
    return *this += RtString(number);
}

RtString& RtString::operator+=(double number) {
    return *this += RtString(number);
}

RtString operator+(const RtString& left, const RtString& right) {
    RtString result(left);
    result += right;
    return result;
}

RtString operator+(const RtString& left, const char* right) {
    RtString result(left);
    result += right;
    return result;
}

RtString operator+(const char* left, const RtString& right) {
    RtString result(left);
    result += right;
    return result;
}

int CompareText(const char* left, const char* right) {
    return std::strcmp(left ? left : gEmptyText, right ? right : gEmptyText);
}

double TextNumberValue(const RtString& text) {
    return TextToNumber(text);
}

double operator==(const RtString& left, const RtString& right) {
    return left.length == right.length && CompareText(left.CStr(), right.CStr()) == 0 ? 1.0 : 0.0;
}
