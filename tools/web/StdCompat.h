// What the Emscripten toolchain's C++ library (LLVM 14's libc++) lacks of
// C++20 and the runtime uses; included before every browser-build source.
// The C library underneath (musl) converts doubles exactly, in both
// directions, so its printf and strtod stand in for the missing conversions.
#pragma once

#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
    return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 15000
namespace std {
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision) {
    const char* pattern = format == chars_format::scientific ? "%.*e"
                          : format == chars_format::fixed    ? "%.*f"
                                                             : "%.*g";
    char text[400];
    const int length = std::snprintf(text, sizeof text, pattern, precision, value);
    if (length < 0 || length >= static_cast<int>(sizeof text) || length > last - first)
        return {last, errc::value_too_large};
    std::memcpy(first, text, static_cast<size_t>(length));
    return {first + length, errc{}};
}

inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
    char text[1100];
    const size_t length = static_cast<size_t>(last - first);
    if (length == 0 || length >= sizeof text) return {first, errc::invalid_argument};
    std::memcpy(text, first, length);
    text[length] = 0;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text, &end);
    if (end == text) return {first, errc::invalid_argument};
    if (errno == ERANGE) return {first + (end - text), errc::result_out_of_range};
    value = parsed;
    return {first + (end - text), errc{}};
}
}  // namespace std
#endif
