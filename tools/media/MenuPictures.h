// The menu's pictures: its background (a stage with confetti, a little
// crowd and the title on a banner) and its icon.
#pragma once

#include <vector>

#include "Image.h"

namespace media {

Image MenuBackground(const std::vector<Image>& portraits);
// A magnifying glass over a smiling face, with the round mark's star.
Image MenuIcon();

}  // namespace media
