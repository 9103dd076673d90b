#include "AppIcon.h"

#include <cstddef>

#include "FontPicture.h"
#include "Grandstand.h"
#include "Mask.h"
#include "Painting.h"
#include "Portraits.h"
#include "Shapes.h"

namespace media {

namespace {

constexpr int kTile = 64;
constexpr int kFront = 15, kLeft = 0, kRight = 4;  // portraits, as numbered in vux/

Mask RoundedTile() {
    Mask tile(kTile, kTile);
    const double r = 12, lo = 1, hi = kTile - 1;
    tile.Add(Box(lo + r, lo, hi - r, hi));
    tile.Add(Box(lo, lo + r, hi, hi - r));
    for (double cx : {lo + r, hi - r})
        for (double cy : {lo + r, hi - r}) tile.Add(Circle(cx, cy, r));
    return tile;
}

// A winner in a crown at the front of the crowd, two neighbours peeking
// from behind, and the round mark's gold star above.
Image Crowd(const std::vector<Image>& portraits) {
    // Behind them a patch of the night stand: sky, banners and the first seats.
    const Image stand = Grandstand(Night);
    Image img(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) img.At(x, y) = stand.At(x + 128, y + 30);
    img.Stamp(portraits[size_t(kLeft)], -21, 0);
    img.Stamp(portraits[size_t(kRight)], 25, 0);
    img.Stamp(portraits[size_t(kFront)], 2, 14);
    DrawGlyph(img, '$', 28, 5);
    return img;
}

}  // namespace

Image AppIcon(const std::vector<Image>& portraits, int size) {
    const Image crowd = Crowd(portraits);
    const Mask tile = RoundedTile();
    Image small(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
            if (tile.Get(x, y)) small.At(x, y) = crowd.At(x, y);
    Paint(small, tile.Edge(), Hex(0x1A1024));
    Image icon(size, size);
    icon.Stamp(small, 0, 0, size / kTile);
    return icon;
}

}  // namespace media
