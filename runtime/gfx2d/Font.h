// Bitmap fonts in slots 65504 + n (n = 0..31) and the text drawn with them:
// one cell per byte, fixed spacing, in the current colour and opacity.
#pragma once

#include <cstdint>

#include "runtime/values/RtString.h"

// Loads a font picture into font slot 0..31 (limited) and makes it current;
// a file that cannot be found or read installs the built-in 5 x 6 font.
void LoadFont(const RtString& fileName, double slot);
void SetFont(double slot);                                          // limited to 0..31
void GetFontSize(double& characterWidth, double& characterHeight);  // cell of the current font
void PrintText(const RtString& text, double x,
               double y);  // top-left of the first cell at (ceil x, ceil y)
void PrintNumber(double number, double x, double y);  // the number's text form, as PrintText

// The built-in font's picture: 128 x 64, 8 x 8 cells, codes 0..127.
constexpr int kBuiltInFontWidth = 128;
constexpr int kBuiltInFontHeight = 64;
void BuildBuiltInFont(
    uint8_t* rgba);  // kBuiltInFontWidth x kBuiltInFontHeight pixels, top row first
