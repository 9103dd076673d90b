#include "Shapes.h"

#include <cstddef>
#include <utility>

namespace media {

Shape Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

Shape Circle(double cx, double cy, double r) {
    return Ellipse(cx, cy, r, r);
}

Shape Box(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape Polygon(std::vector<double> xy) {
    return [xy = std::move(xy)](double x, double y) {
        bool in = false;
        const size_t n = xy.size() / 2;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
}

Shape Stroke(double x0, double y0, double x1, double y1, double r) {
    return [=](double x, double y) {
        const double vx = x1 - x0, vy = y1 - y0, wx = x - x0, wy = y - y0;
        const double len = vx * vx + vy * vy;
        double t = len > 0 ? (wx * vx + wy * vy) / len : 0;
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        const double dx = wx - t * vx, dy = wy - t * vy;
        return dx * dx + dy * dy <= r * r;
    };
}

}  // namespace media
