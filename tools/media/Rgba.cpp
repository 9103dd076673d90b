#include "Rgba.h"

namespace media {

int Clamp255(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

Rgba Mix(Rgba a, Rgba b, int t) {
    return Rgba{uint8_t(a.r + (b.r - a.r) * t / 256), uint8_t(a.g + (b.g - a.g) * t / 256),
                uint8_t(a.b + (b.b - a.b) * t / 256), uint8_t(a.a + (b.a - a.a) * t / 256)};
}

Rgba Scale(Rgba c, int percent) {
    return Rgba{uint8_t(Clamp255(c.r * percent / 100)), uint8_t(Clamp255(c.g * percent / 100)),
                uint8_t(Clamp255(c.b * percent / 100)), c.a};
}

// Shadows lean toward purple and highlights toward warm white, which reads
// better in small cartoon pictures than plain darkening.
Rgba Shade(Rgba c) {
    return Mix(Scale(c, 72), Colour(60, 30, 90), 40);
}

Rgba Light(Rgba c) {
    return Mix(c, Colour(255, 250, 230), 90);
}

Rgba Ink(Rgba c) {
    return Mix(Scale(c, 30), Colour(24, 14, 30), 150);
}

}  // namespace media
