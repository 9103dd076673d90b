// A picture drawn by the media generator: RGBA pixels, top row first.
#pragma once

#include <cstddef>
#include <vector>

#include "Rgba.h"

namespace media {

class Image {
  public:
    Image() = default;
    Image(int w, int h, Rgba fill = Rgba{}) : w_(w), h_(h), px_(size_t(w) * size_t(h), fill) {}
    int Width() const { return w_; }
    int Height() const { return h_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Rgba& At(int x, int y) { return px_[size_t(y) * size_t(w_) + size_t(x)]; }
    const Rgba& At(int x, int y) const { return px_[size_t(y) * size_t(w_) + size_t(x)]; }
    void Put(int x, int y, Rgba c) {
        if (Inside(x, y)) At(x, y) = c;
    }
    // Coverage 0..256 blended over what is there.
    void Blend(int x, int y, Rgba c, int t);
    void FillRect(int x0, int y0, int w, int h, Rgba c);
    // Copies the opaque pixels of a picture (alpha 0 skipped), each `scale` times as large.
    void Stamp(const Image& src, int dx, int dy, int scale = 1);
    const std::vector<Rgba>& Pixels() const { return px_; }

  private:
    int w_ = 0, h_ = 0;
    std::vector<Rgba> px_;
};

}  // namespace media
