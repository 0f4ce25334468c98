// Antialiased coverage masks for the artwork: each shape becomes one byte of coverage per
// pixel (0 outside, 255 inside), computed from its distance to the pixel centre. The masks
// are painted through the raster library (see paint.h).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace Artwork {

struct Mask {
  Mask(int w, int h) : width(w), height(h), cover(static_cast<size_t>(w) * h, 0) {}
  uint8_t At(int x, int y) const { return cover[static_cast<size_t>(y) * width + x]; }
  int width, height;
  std::vector<uint8_t> cover;
};

// Signed distance from (x, y) to a shape's outline: negative inside, positive outside.
using Distance = std::function<double(double x, double y)>;

// Coverage of a shape with an edge `soft` pixels wide (1 is a crisp antialiased edge,
// larger values blur, for shadows and glows).
Mask Cover(int w, int h, const Distance& shape, double soft = 1.0);

// Angles are in degrees, 0 at twelve o'clock, growing clockwise on screen.
double AngleOf(double dx, double dy);

Distance Disc(double cx, double cy, double r);
Distance Ring(double cx, double cy, double r, double halfWidth);
// A ring segment from angle a0 to a1 (a0 < a1), with round ends.
Distance Arc(double cx, double cy, double r, double halfWidth, double a0, double a1);
// A segment with round ends.
Distance Capsule(double x0, double y0, double x1, double y1, double halfWidth);
Distance RoundRect(double left, double top, double right, double bottom, double radius);

Distance Union(Distance a, Distance b);
Distance Subtract(Distance a, Distance b);

}  // namespace Artwork
