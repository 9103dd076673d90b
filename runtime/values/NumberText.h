// Numbers meeting text: the ten-digit number text form every number is shown
// in, integer text, fixed-point formatting and reading numbers from text.
#pragma once

#include <cstdint>

#include "runtime/values/RtString.h"

RtString NumberText(double value);    // 0, 1, -2.5, 0.3333333333, 1.e+010, 5.e-002
RtString IntegerText(int32_t value);  // plain decimal
RtString FormatNumber(double width, double decimals, double value);  // as "%W.Df"
double TextToNumber(const RtString& text);                           // atof rules; "" gives 0
double ParseNumber(const char* text);  // atof rules on terminated text

// The number text written into `out` (room for 32 bytes); returns its length.
uint32_t WriteNumberText(double value, char* out);
uint32_t WriteIntegerText(int32_t value, char* out);
// The same number text built from the value's exact decimal expansion: slow,
// the reference the fast path is checked against.
RtString NumberTextReference(double value);
