#include "Image.h"

#include <algorithm>

namespace media {

void Image::Blend(int x, int y, Rgba c, int t) {
    if (!Inside(x, y) || t <= 0) return;
    Rgba& d = At(x, y);
    d = Mix(d, c, std::min(t, 256));
}

void Image::FillRect(int x0, int y0, int w, int h, Rgba c) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) Put(x, y, c);
}

void Image::Stamp(const Image& src, int dx, int dy, int scale) {
    for (int y = 0; y < src.h_ * scale; ++y)
        for (int x = 0; x < src.w_ * scale; ++x) {
            const Rgba& s = src.At(x / scale, y / scale);
            if (s.a != 0) Put(dx + x, dy + y, s);
        }
}

}  // namespace media
