#include "Painting.h"

namespace media {

void Paint(Image& img, const Mask& m, Rgba c) {
    for (int y = 0; y < m.Height(); ++y)
        for (int x = 0; x < m.Width(); ++x)
            if (m.Get(x, y)) img.Put(x, y, c);
}

void DrawPart(Image& img, const Mask& m, Rgba fill, bool shade, Rgba ink) {
    if (ink.a == 0) ink = Ink(fill);
    Paint(img, m.Ring(), ink);
    Paint(img, m, fill);
    if (shade) {
        Mask rim = m.Rim(2, 1);
        rim.Add(m.Rim(1, 2));
        Paint(img, rim, Shade(fill));
    }
}

}  // namespace media
