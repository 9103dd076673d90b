// Shapes as tests of a pixel's centre, for filling masks. Only + - * / are
// used on floating point, which IEEE rounding makes identical on every
// compiler, so the pictures are the same bytes everywhere.
#pragma once

#include <functional>
#include <vector>

namespace media {

using Shape = std::function<bool(double x, double y)>;

Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Circle(double cx, double cy, double r);
Shape Box(double x0, double y0, double x1, double y1);  // x0 <= x < x1, y0 <= y < y1
Shape Polygon(std::vector<double> xy);  // corners x, y, ...; convex or not: even-odd rule
// A capsule: every point within r of the segment (x0, y0)-(x1, y1).
Shape Stroke(double x0, double y0, double x1, double y1, double r);

}  // namespace media
