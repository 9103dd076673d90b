// Masks painted onto pictures: plain fills, and the cartoon parts every
// drawing is made of.
#pragma once

#include "Image.h"
#include "Mask.h"
#include "Rgba.h"

namespace media {

void Paint(Image& img, const Mask& m, Rgba c);
// Outline in `ink` (by default the ink of the fill colour), then the fill,
// then, with `shade`, a shadow rim at the bottom right.
void DrawPart(Image& img, const Mask& m, Rgba fill, bool shade = true, Rgba ink = Rgba{});

}  // namespace media
