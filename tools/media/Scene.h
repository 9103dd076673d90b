// The 320 x 240 scenes behind the game, and the light effects they share.
#pragma once

#include "Image.h"
#include "Rgba.h"

namespace media {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;

// The colour at row y of a gradient from `top` at row y0 to `bottom` at row y1.
Rgba Vertical(Rgba top, Rgba bottom, int y, int y0, int y1);
// Adds light around a point, falling off with distance (night glows).
void Glow(Image& img, double cx, double cy, double radius, Rgba col, int strength);

}  // namespace media
