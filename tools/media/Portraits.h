// The crowd's 63 portraits: cartoon busts drawn from a list of features.
//
// Geometry, from the board: a portrait is drawn with its top-left corner at the
// cell position, the hit test measures from (32, 18) inside it, rows lie 30
// pixels apart (each row covers the one behind from 30 pixels down) and the
// back row of a 9-column board puts neighbours 25.6 pixels apart. So the head
// (skin about 24 x 28 pixels) is centred near (30, 20) and everything a player
// must see lies in the top 34 rows; the shoulders below show between the heads
// of the row in front. The badge shows columns 0..29, rows 17..48 of the
// picture: eyes, mouth, chin and collar, so skin, clothes and eyewear must tell
// people apart as much as hair and hats do.
#pragma once

#include "Characters.h"
#include "Image.h"

namespace media {

constexpr int kPortraitWidth = 64;
constexpr int kPortraitHeight = 64;

Image PaintPortrait(const Character& c);

}  // namespace media
