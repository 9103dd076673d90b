// Colours of the generated pictures and the mixes the drawings share.
#pragma once

#include <cstdint>

namespace media {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba Colour(int r, int g, int b) {
    return Rgba{uint8_t(r), uint8_t(g), uint8_t(b), 255};
}
constexpr Rgba Hex(uint32_t rgb) {
    return Colour(int((rgb >> 16) & 255), int((rgb >> 8) & 255), int(rgb & 255));
}

int Clamp255(int v);
Rgba Mix(Rgba a, Rgba b, int t);  // t in 0..256
Rgba Scale(Rgba c, int percent);  // percent: 100 keeps the colour
Rgba Shade(Rgba c);               // the shadow side of a part
Rgba Light(Rgba c);               // its highlight
Rgba Ink(Rgba c);                 // its outline

}  // namespace media
