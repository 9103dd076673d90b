// The desktop's icon for the game: a corner of the night grandstand on a
// rounded tile, with a little crowd of the game's own portraits in front.
#pragma once

#include <vector>

#include "Image.h"

namespace media {

// Sizes the desktop's icon theme gets, in pixels; each a multiple of the
// 64-pixel drawing, which larger sizes enlarge pixel for pixel like the game.
constexpr int kAppIconSizes[] = {64, 256};

Image AppIcon(const std::vector<Image>& portraits, int size);

}  // namespace media
