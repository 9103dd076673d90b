// The game font: 16 x 8 cells of 8 x 11 pixels (a 128 x 88 picture, codes
// 0..127), glyphs 5 pixels wide with caps 7 high and 2 rows of descender,
// white fading to pale gold, in a dark one-pixel outline so text stays
// readable over any background. "$" is the round mark: a gold star.
#pragma once

#include <string>

#include "Image.h"

namespace media {

constexpr int kFontCellWidth = 8;
constexpr int kFontCellHeight = 11;
constexpr int kFontColumns = 16;
constexpr int kFontRows = 8;

// The whole font picture.
Image FontPicture();
// One glyph with its outline, the glyph's top-left lit pixel area at (x, y),
// each pixel `scale` times as large.
void DrawGlyph(Image& img, char code, int x, int y, int scale = 1);
// Text in the font at any whole-number scale (the menu's title uses it).
void DrawText(Image& img, const std::string& text, int x, int y, int scale = 1);

}  // namespace media
