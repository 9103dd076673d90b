#include "Mask.h"

#include <algorithm>

namespace media {

void Mask::SetWhere(const Shape& inside, bool v) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (inside(x + 0.5, y + 0.5)) Set(x, y, v);
}

Mask& Mask::Add(const Shape& inside) {
    SetWhere(inside, true);
    return *this;
}

Mask& Mask::Cut(const Shape& inside) {
    SetWhere(inside, false);
    return *this;
}

Mask& Mask::Add(const Mask& m) {
    for (size_t i = 0; i < on_.size(); ++i) on_[i] |= m.on_[i];
    return *this;
}

Mask& Mask::Cut(const Mask& m) {
    for (size_t i = 0; i < on_.size(); ++i)
        if (m.on_[i]) on_[i] = 0;
    return *this;
}

Mask& Mask::Keep(const Mask& m) {
    for (size_t i = 0; i < on_.size(); ++i) on_[i] &= m.on_[i];
    return *this;
}

Mask Mask::Ring(bool diagonal) const {
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

Mask Mask::Rim(int dx, int dy) const {
    Mask out(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (Get(x, y) && !Get(x + dx, y + dy)) out.Set(x, y);
    return out;
}

Mask Mask::Edge() const {
    Mask out = Rim(0, -1);
    out.Add(Rim(0, 1)).Add(Rim(1, 0)).Add(Rim(-1, 0));
    return out;
}

bool Mask::Empty() const {
    return std::none_of(on_.begin(), on_.end(), [](uint8_t v) { return v != 0; });
}

}  // namespace media
