// A set of pixels of a picture-sized grid, filled by shapes tested at pixel
// centres and combined like stencils.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Shapes.h"

namespace media {

class Mask {
  public:
    Mask(int w, int h) : w_(w), h_(h), on_(size_t(w) * size_t(h), 0) {}
    int Width() const { return w_; }
    int Height() const { return h_; }
    bool Get(int x, int y) const {
        return x >= 0 && y >= 0 && x < w_ && y < h_ && on_[size_t(y) * size_t(w_) + size_t(x)];
    }
    void Set(int x, int y, bool v = true) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) on_[size_t(y) * size_t(w_) + size_t(x)] = v;
    }
    Mask& Add(const Shape& inside);
    Mask& Cut(const Shape& inside);
    Mask& Add(const Mask& m);
    Mask& Cut(const Mask& m);
    Mask& Keep(const Mask& m);  // only what both hold
    // The ring of pixels around the set: a one-pixel outline (8 neighbours, or 4).
    Mask Ring(bool diagonal = true) const;
    // Pixels of the set whose neighbour at (dx, dy) lies outside it: a rim on that side.
    Mask Rim(int dx, int dy) const;
    // The rims on all four sides: the set's own one-pixel border.
    Mask Edge() const;
    bool Empty() const;

  private:
    void SetWhere(const Shape& inside, bool v);

    int w_, h_;
    std::vector<uint8_t> on_;
};

}  // namespace media
