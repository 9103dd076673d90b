// Pictures drawn by the media generator: RGBA pixels, shape masks with
// outlines, and the few arithmetic helpers the drawings share. Only + - * /
// and sqrt are used on floating point, which IEEE rounding makes identical on
// every compiler, so the pictures are the same bytes everywhere.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

inline int Clamp255(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// t in 0..256
inline Rgba Mix(Rgba a, Rgba b, int t) {
    return Rgba{uint8_t(a.r + (b.r - a.r) * t / 256), uint8_t(a.g + (b.g - a.g) * t / 256),
                uint8_t(a.b + (b.b - a.b) * t / 256), uint8_t(a.a + (b.a - a.a) * t / 256)};
}
// percent: 100 keeps the colour
inline Rgba Scale(Rgba c, int percent) {
    return Rgba{uint8_t(Clamp255(c.r * percent / 100)), uint8_t(Clamp255(c.g * percent / 100)),
                uint8_t(Clamp255(c.b * percent / 100)), c.a};
}
// Shadows lean toward purple and highlights toward warm white, which reads
// better in small cartoon pictures than plain darkening.
inline Rgba Shade(Rgba c) {
    return Mix(Scale(c, 72), Colour(60, 30, 90), 40);
}
inline Rgba Light(Rgba c) {
    return Mix(c, Colour(255, 250, 230), 90);
}
inline Rgba Ink(Rgba c) {
    return Mix(Scale(c, 30), Colour(24, 14, 30), 150);
}

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
    void Blend(int x, int y, Rgba c, int t) {
        if (!Inside(x, y) || t <= 0) return;
        Rgba& d = At(x, y);
        d = Mix(d, c, std::min(t, 256));
    }
    void FillRect(int x0, int y0, int w, int h, Rgba c) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) Put(x, y, c);
    }
    // Copies the opaque pixels of a picture (alpha 0 skipped).
    void Stamp(const Image& src, int dx, int dy, int scale = 1) {
        for (int y = 0; y < src.h_ * scale; ++y)
            for (int x = 0; x < src.w_ * scale; ++x) {
                const Rgba& s = src.At(x / scale, y / scale);
                if (s.a != 0) Put(dx + x, dy + y, s);
            }
    }
    const std::vector<Rgba>& Pixels() const { return px_; }

  private:
    int w_ = 0, h_ = 0;
    std::vector<Rgba> px_;
};

// A set of pixels of a picture-sized grid, filled by shapes tested at pixel centres.
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
    template <class Inside>
    Mask& Add(Inside inside) {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (inside(x + 0.5, y + 0.5)) Set(x, y);
        return *this;
    }
    template <class Inside>
    Mask& Cut(Inside inside) {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (inside(x + 0.5, y + 0.5)) Set(x, y, false);
        return *this;
    }
    Mask& Add(const Mask& m) {
        for (size_t i = 0; i < on_.size(); ++i) on_[i] |= m.on_[i];
        return *this;
    }
    Mask& Cut(const Mask& m) {
        for (size_t i = 0; i < on_.size(); ++i)
            if (m.on_[i]) on_[i] = 0;
        return *this;
    }
    Mask& Keep(const Mask& m) {
        for (size_t i = 0; i < on_.size(); ++i) on_[i] &= m.on_[i];
        return *this;
    }
    // The ring of pixels around the set: a one-pixel outline (8 neighbours).
    Mask Ring(bool diagonal = true) const {
        Mask out(w_, h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                if (Get(x, y)) continue;
                bool n = Get(x - 1, y) || Get(x + 1, y) || Get(x, y - 1) || Get(x, y + 1);
                if (diagonal)
                    n = n || Get(x - 1, y - 1) || Get(x + 1, y - 1) || Get(x - 1, y + 1) ||
                        Get(x + 1, y + 1);
                if (n) out.Set(x, y);
            }
        return out;
    }
    // Pixels of the set whose neighbour at (dx, dy) lies outside it: a rim on that side.
    Mask Rim(int dx, int dy) const {
        Mask out(w_, h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (Get(x, y) && !Get(x + dx, y + dy)) out.Set(x, y);
        return out;
    }
    bool Empty() const {
        return std::none_of(on_.begin(), on_.end(), [](uint8_t v) { return v != 0; });
    }

  private:
    int w_, h_;
    std::vector<uint8_t> on_;
};

inline void Paint(Image& img, const Mask& m, Rgba c) {
    for (int y = 0; y < m.Height(); ++y)
        for (int x = 0; x < m.Width(); ++x)
            if (m.Get(x, y)) img.Put(x, y, c);
}

// Shapes as pixel-centre tests.
inline auto Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}
inline auto Circle(double cx, double cy, double r) {
    return Ellipse(cx, cy, r, r);
}
inline auto Box(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
// Convex or not: even-odd crossing test.
inline auto Polygon(std::vector<double> xy) {
    return [xy](double x, double y) {
        bool in = false;
        const size_t n = xy.size() / 2;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
}
// A capsule: every point within r of the segment (x0, y0)-(x1, y1).
inline auto Stroke(double x0, double y0, double x1, double y1, double r) {
    return [=](double x, double y) {
        const double vx = x1 - x0, vy = y1 - y0, wx = x - x0, wy = y - y0;
        const double len = vx * vx + vy * vy;
        double t = len > 0 ? (wx * vx + wy * vy) / len : 0;
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        const double dx = wx - t * vx, dy = wy - t * vy;
        return dx * dx + dy * dy <= r * r;
    };
}

// Outline in the ink of the fill colour, then the fill, then a shadow rim.
inline void DrawPart(Image& img, const Mask& m, Rgba fill, bool shade = true, Rgba ink = Rgba{}) {
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
