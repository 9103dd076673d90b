// Bitmap fonts in slots 65504 + n (n = 0..31) and the text drawn with them:
// one cell per byte, fixed spacing, in the current colour and opacity. The
// built-in font is what a font slot holds when its file cannot be read.
#pragma once

#include <cstdint>

// The built-in font's picture: 128 x 64, 8 x 8 cells, codes 0..127.
constexpr int kBuiltInFontWidth = 128;
constexpr int kBuiltInFontHeight = 64;
void BuildBuiltInFont(
    uint8_t* rgba);  // kBuiltInFontWidth x kBuiltInFontHeight pixels, top row first
