// Text commands of the game language built on RtString. TextToNumber lives
// with the other number conversions in NumberText.h.
#pragma once

#include <cstdint>

#include "runtime/values/RtString.h"

double CharCode(const RtString& text);     // first byte 0..255; "" gives 0
RtString CharText(double code);            // the code's low byte as one character; 0 gives ""
RtString UpperText(const RtString& text);  // only a..z change
RtString LowerText(const RtString& text);  // only A..Z change
// 0-based position of the needle's first occurrence, -1 when absent, 0 for "".
double FindText(const char* haystack, const char* needle);
double FindText(const RtString& haystack, const char* needle);
double FindText(const char* haystack, const RtString& needle);
double FindText(const RtString& haystack, const RtString& needle);
RtString HexText(const void* bytes, uint32_t count);  // two upper-case digits per byte
void TrimControlTail(RtString& text);  // drops trailing bytes that read as signed <= 31
