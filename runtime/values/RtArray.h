// The game language's arrays: up to four dimensions of numbers (RtArray, small
// ones kept inside the value) or texts (RtTextArray). Every element access is
// range-checked; a bad index is runtime error 9 and ends the program.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <type_traits>

#include "runtime/values/RtString.h"
#include "runtime/values/Truncate.h"

// An element index as game code passes it: whole numbers as they are, doubles
// truncated toward zero; anything outside 32 bits is out of range.
struct ArrayIndex {
    ArrayIndex(int32_t index) : value(index) {}
    ArrayIndex(double index) : value(TruncateInt32(index)) {}
    template <std::integral T>
    ArrayIndex(T index) : value(Fits(index) ? static_cast<int32_t>(index) : kOutOfRange) {}
    int32_t value;

  private:
    static constexpr int32_t kOutOfRange = std::numeric_limits<int32_t>::min();
    // Compared by value in the widest type of the index's signedness, so an
    // unsigned index (a std::vector's size_t) is in range exactly when its
    // value is.
    template <std::integral T>
    static constexpr bool Fits(T index) {
        if constexpr (std::is_signed_v<T>)
            return static_cast<intmax_t>(index) >= std::numeric_limits<int32_t>::min() &&
                   static_cast<intmax_t>(index) <= std::numeric_limits<int32_t>::max();
        else
            return static_cast<uintmax_t>(index) <=
                   static_cast<uintmax_t>(std::numeric_limits<int32_t>::max());
    }
};

// The dimensions of an array: sizes, the element strides of dimensions 1..3,
// the dimension count and the elements the block holds.
struct ArrayShape {
    int32_t stride1 = 0;
    int32_t stride2 = 0;
    int32_t stride3 = 0;
    int32_t size[4] = {};
    int32_t dimensionCount = 0;
    int32_t capacity = 0;
};

class RtArray : public ArrayShape {
  public:
    static constexpr int kInlineElements = 16;

    RtArray() = default;
    RtArray(const RtArray&) = delete;
    RtArray& operator=(const RtArray&) = delete;
    ~RtArray() { Release(); }

    // Element (i, j, k, l); the indices of missing dimensions must be 0.
    double& operator()(ArrayIndex i, ArrayIndex j = 0, ArrayIndex k = 0, ArrayIndex l = 0);
    int64_t ElementCount() const;  // size 0 times the other sizes, each at least 1
    void Release();                // frees a heap block; back to the undimensioned state

    double* data = nullptr;
    double inlineStore[kInlineElements] = {};
};

class RtTextArray : public ArrayShape {
  public:
    RtTextArray() = default;
    RtTextArray(const RtTextArray&) = delete;
    RtTextArray& operator=(const RtTextArray&) = delete;
    ~RtTextArray() { Release(); }

    RtString& operator()(ArrayIndex i, ArrayIndex j = 0, ArrayIndex k = 0, ArrayIndex l = 0);
    int64_t ElementCount() const;
    void Release();  // destroys every element of the block, then frees it

    RtString* data = nullptr;  // preceded in its block by the element count
};

// Applied by CopyArrayRow to each pair (target element, source element).
using ElementOperation = void (*)(double& target, double& source);
void CopyElement(double& target, double& source);
