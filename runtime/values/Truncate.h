// Double-to-integer conversion as the runtime has always done it: toward zero,
// and a value that does not fit (NaN included) becomes the smallest integer of
// the target type, as the processor's truncating conversion gives it.
#pragma once

#include <cstdint>
#include <limits>

inline int32_t TruncateInt32(double value) {
    if (value > -2147483649.0 && value < 2147483648.0) return static_cast<int32_t>(value);
    return std::numeric_limits<int32_t>::min();
}

inline int64_t TruncateInt64(double value) {
    if (value >= -9223372036854775808.0 && value < 9223372036854775808.0)
        return static_cast<int64_t>(value);
    return std::numeric_limits<int64_t>::min();
}
