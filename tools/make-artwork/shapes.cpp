#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace Artwork {

namespace {
const double kPi = 3.14159265358979323846;
}

Mask Cover(int w, int h, const Distance& shape, double soft) {
  Mask mask(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double d = shape(x + 0.5, y + 0.5);
      const double c = std::clamp(0.5 - d / soft, 0.0, 1.0);
      // Smooth the wide edges of soft shapes; crisp edges stay linear.
      const double eased = soft > 1.0 ? c * c * (3.0 - 2.0 * c) : c;
      mask.cover[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(std::lround(eased * 255.0));
    }
  }
  return mask;
}

double AngleOf(double dx, double dy) {
  double a = std::atan2(dx, -dy) * 180.0 / kPi;  // 0 up, clockwise
  return a;
}

Distance Disc(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Distance Ring(double cx, double cy, double r, double halfWidth) {
  return [=](double x, double y) { return std::fabs(std::hypot(x - cx, y - cy) - r) - halfWidth; };
}

Distance Arc(double cx, double cy, double r, double halfWidth, double a0, double a1) {
  const double e0 = a0 * kPi / 180.0, e1 = a1 * kPi / 180.0;
  const double x0 = cx + r * std::sin(e0), y0 = cy - r * std::cos(e0);
  const double x1 = cx + r * std::sin(e1), y1 = cy - r * std::cos(e1);
  return [=](double x, double y) {
    double a = AngleOf(x - cx, y - cy);
    // Bring the angle into the arc's turn, starting at a0.
    while (a < a0) a += 360.0;
    while (a >= a0 + 360.0) a -= 360.0;
    if (a <= a1) return std::fabs(std::hypot(x - cx, y - cy) - r) - halfWidth;
    return std::min(std::hypot(x - x0, y - y0), std::hypot(x - x1, y - y1)) - halfWidth;
  };
}

Distance Capsule(double x0, double y0, double x1, double y1, double halfWidth) {
  return [=](double x, double y) {
    const double vx = x1 - x0, vy = y1 - y0;
    const double len2 = vx * vx + vy * vy;
    const double t = len2 > 0 ? std::clamp(((x - x0) * vx + (y - y0) * vy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(x - (x0 + t * vx), y - (y0 + t * vy)) - halfWidth;
  };
}

Distance RoundRect(double left, double top, double right, double bottom, double radius) {
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
  return [=](double x, double y) {
    const double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Distance Union(Distance a, Distance b) {
  return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Distance Subtract(Distance a, Distance b) {
  return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

}  // namespace Artwork
