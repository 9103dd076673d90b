// Reads the input as text (the atof rules) and as the bytes of doubles (the
// number text form), checking the fast number text against the exact one and
// that every text reads back to the value it shows.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/runtime.h"
#include "runtime/values/NumberText.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckNumber(double value) {
    const RtString fast = NumberText(value);
    const RtString exact = NumberTextReference(value);
    Check(std::strcmp(fast.CStr(), exact.CStr()) == 0);
    Check(fast.length < 20 && fast.capacity == 512);
    if (!std::isfinite(value) || value == 0) return;
    const double shown = ParseNumber(fast.CStr());
    // Ten significant digits: the text is within half a unit of the tenth digit.
    Check(std::fabs(shown - value) <= std::fabs(value) * 1e-9 + 1e-323 || std::isinf(shown));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double parsed = ParseNumber(text.c_str());
    Check(!std::isnan(parsed));
    CheckNumber(parsed);
    for (size_t offset = 0; offset + sizeof(double) <= size; offset += sizeof(double)) {
        double value;
        std::memcpy(&value, data + offset, sizeof value);
        CheckNumber(value);
    }
    const RtString formatted = FormatNumber(size % 700, text.size() % 600, parsed);
    Check(formatted.length <= 511 && formatted.capacity == 512);
    return 0;
}
