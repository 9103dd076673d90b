// Contact sheets for looking at the art: every portrait enlarged, mock boards
// at the game's size and overlap, the badges, the scenes with text on them.
// Written only when asked for (make_media OUTDIR --sheet PNG).
#pragma once

#include <vector>

#include "Image.h"

namespace media {

// Every portrait twice its size, then mock Easy, Normal and Hard boards.
Image ContactSheet(const std::vector<Image>& portraits);
// Every badge as the game cuts it, three times its size.
Image BadgeSheet(const std::vector<Image>& portraits);
// `count` portraits from `first` on, four times their size, for a close look.
Image ZoomSheet(const std::vector<Image>& portraits, int first, int count);
// Each scene with a crowd and some text on it, as the game will show them.
Image SceneSheet(const std::vector<Image>& portraits, const std::vector<Image>& scenes,
                 const Image& menu, const Image& icon);

}  // namespace media
