// The number text form every number is shown in (ten significant digits), as
// the commands NumberText, IntegerText and TextToNumber give it, written into
// a caller's buffer, and the reading of numbers from text.
#pragma once

#include <cstdint>

#include "runtime/values/RtString.h"

double ParseNumber(const char* text);  // atof rules on terminated text

// The number text written into `out` (room for 32 bytes); returns its length.
uint32_t WriteNumberText(double value, char* out);
uint32_t WriteIntegerText(int32_t value, char* out);
// The same number text built from the value's exact decimal expansion: slow,
// the reference the fast path is checked against.
RtString NumberTextReference(double value);
