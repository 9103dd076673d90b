#include "Scene.h"

#include <algorithm>

namespace media {

Rgba Vertical(Rgba top, Rgba bottom, int y, int y0, int y1) {
    const int t = std::clamp((y - y0) * 256 / std::max(1, y1 - y0), 0, 256);
    return Mix(top, bottom, t);
}

void Glow(Image& img, double cx, double cy, double radius, Rgba col, int strength) {
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const double dx = x - cx, dy = y - cy, d2 = dx * dx + dy * dy;
            if (d2 >= radius * radius) continue;
            const int t = int(strength * (1.0 - d2 / (radius * radius)));
            Rgba& p = img.At(x, y);
            p = Rgba{uint8_t(Clamp255(p.r + col.r * t / 256)),
                     uint8_t(Clamp255(p.g + col.g * t / 256)),
                     uint8_t(Clamp255(p.b + col.b * t / 256)), 255};
        }
}

}  // namespace media
