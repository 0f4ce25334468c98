// Circle outlines (fixed masks for the smallest radii, a midpoint walk, an antialiased
// walk), arcs as clipped circle outlines, and the coverage-mask draw.

#include "lines.h"
#include "line_painters.h"

#include <cmath>
#include <cstdint>

namespace LICE
{
namespace
{
using strokes::Canvas;

constexpr double kPi = 3.14159265358979323846;
// Larger radii draw nothing: single floats no longer hold whole pixels there, and the
// walk would take minutes.
constexpr float kMaxRadius = 16777216.0f;
// Arcs with angles beyond this many radians draw nothing (no precision is left in them).
constexpr double kMaxAngle = 1e6;

// Clip rectangle in memory coordinates; right and bottom exclusive.
struct Clip
{
  int left, top, right, bottom;
  bool Contains(int x, int y) const { return x >= left && y >= top && x < right && y < bottom; }
};

// ---- Fixed masks for radii 2, 2.5, 3, 3.5 and 4 -------------------------------------

// Each mask is given by its rows from the top down to the middle; the rest mirror them.
struct MaskSpec
{
  float radius;
  int side;
  unsigned char antialiased[5][9];
  unsigned char plain[5][9];
};

constexpr MaskSpec kMaskSpecs[] = {
    {2.0f, 5,
     {{15, 191, 255, 191, 15}, {191, 209, 79, 209, 191}, {255, 79, 0, 79, 255}},
     {{0, 0, 255, 0, 0}, {0, 255, 0, 255, 0}, {255, 0, 0, 0, 255}}},
    {2.5f, 6,
     {{15, 191, 255, 255, 191, 15}, {191, 209, 79, 79, 209, 191}, {255, 79, 0, 0, 79, 255}},
     {{0, 0, 255, 255, 0, 0}, {0, 255, 0, 0, 255, 0}, {255, 0, 0, 0, 0, 255}}},
    {3.0f, 7,
     {{0, 143, 255, 255, 255, 143, 0}, {143, 255, 97, 64, 97, 255, 143}, {255, 112, 0, 0, 0, 112, 255},
      {255, 48, 0, 0, 0, 48, 255}},
     {{0, 0, 255, 255, 255, 0, 0}, {0, 255, 0, 0, 0, 255, 0}, {255, 0, 0, 0, 0, 0, 255},
      {255, 0, 0, 0, 0, 0, 255}}},
    {3.5f, 8,
     {{0, 79, 222, 255, 255, 222, 79, 0}, {79, 255, 176, 64, 64, 176, 255, 79},
      {222, 176, 0, 0, 0, 0, 176, 222}, {255, 64, 0, 0, 0, 0, 64, 255}},
     {{0, 0, 255, 255, 255, 255, 0, 0}, {0, 255, 255, 0, 0, 255, 255, 0},
      {255, 255, 0, 0, 0, 0, 255, 255}, {255, 0, 0, 0, 0, 0, 0, 255}}},
    {4.0f, 9,
     {{0, 31, 176, 255, 255, 255, 176, 31, 0}, {31, 240, 209, 79, 64, 79, 209, 240, 31},
      {176, 209, 15, 0, 0, 0, 15, 209, 176}, {255, 79, 0, 0, 0, 0, 0, 79, 255},
      {255, 48, 0, 0, 0, 0, 0, 48, 255}},
     {{0, 0, 255, 255, 255, 255, 255, 0, 0}, {0, 255, 255, 0, 0, 0, 255, 255, 0},
      {255, 255, 0, 0, 0, 0, 0, 255, 255}, {255, 0, 0, 0, 0, 0, 0, 0, 255},
      {255, 0, 0, 0, 0, 0, 0, 0, 255}}},
};

// The full square masks, rows mirrored below the middle.
struct MaskSet
{
  unsigned char antialiased[5][81];
  unsigned char plain[5][81];
  constexpr MaskSet() : antialiased{}, plain{}
  {
    for (int m = 0; m < 5; ++m)
    {
      const int side = kMaskSpecs[m].side;
      for (int y = 0; y < side; ++y)
      {
        const int source = y < (side + 1) / 2 ? y : side - 1 - y;
        for (int x = 0; x < side; ++x)
        {
          antialiased[m][y * side + x] = kMaskSpecs[m].antialiased[source][x];
          plain[m][y * side + x] = kMaskSpecs[m].plain[source][x];
        }
      }
    }
  }
};
constexpr MaskSet kMasks{};

// ---- Coverage mask --------------------------------------------------------------------

// Draws the mask with its top-left corner at (x, y), clipped to the canvas.
void DrawMask(const Canvas& canvas, int x, int y, PixelWord colour, const unsigned char* mask, int maskStride,
              int width, int height, int w, int mode)
{
  if (!mask || width <= 0 || height <= 0 || maskStride < width) return;
  // Mask columns and rows that land inside the bitmap.
  const std::int64_t firstCol = x < 0 ? -std::int64_t(x) : 0;
  const std::int64_t lastCol = std::min<std::int64_t>(width, std::int64_t(canvas.width) - x);
  const std::int64_t firstRow = y < 0 ? -std::int64_t(y) : 0;
  const std::int64_t lastRow = std::min<std::int64_t>(height, std::int64_t(canvas.height) - y);
  if (firstCol >= lastCol || firstRow >= lastRow) return;

  strokes::WithWeightedWriter(mode, colour, [&](const auto& paint) {
    for (std::int64_t row = firstRow; row < lastRow; ++row)
    {
      const unsigned char* m = mask + row * maskStride;
      PixelWord* p = &canvas.At(0, int(y + row));
      for (std::int64_t col = firstCol; col < lastCol; ++col)
      {
        if (!m[col]) continue;
        const int weight = w * m[col] / 256;
        if (weight) paint(p[x + col], weight);
      }
    }
  });
}

// ---- Circle walks ---------------------------------------------------------------------

// The pixel that holds coordinate v (|v| stays far below 2^31 here). Truncation would put
// points just left of or above the bitmap onto its first column or row.
inline int PixelOf(double v)
{
  const int t = static_cast<int>(v);
  return t > v ? t - 1 : t;
}

// Plain outline by the midpoint method, in floating point.
template <class Paint>
void PlainCircle(const Canvas& canvas, const Clip& clip, double cx, double cy, double r, const Paint& paint)
{
  auto plot = [&](double px, double py) {
    const int ix = PixelOf(px), iy = PixelOf(py);
    if (clip.Contains(ix, iy)) paint(canvas.At(ix, iy));
  };
  plot(cx, cy + r);
  plot(cx, cy - r);
  plot(cx + r, cy);
  plot(cx - r, cy);
  double x = 0, y = r, d = (5 - 4 * r) / 4;
  while (x < y)
  {
    x += 1;
    if (d < 0)
      d += 2 * x + 1;
    else
    {
      y -= 1;
      d += 2 * (x - y) + 1;
    }
    plot(cx + x, cy + y);
    plot(cx - x, cy + y);
    plot(cx + x, cy - y);
    plot(cx - x, cy - y);
    plot(cx + y, cy + x);
    plot(cx - y, cy + x);
    plot(cx + y, cy - x);
    plot(cx - y, cy - x);
  }
}

// Antialiased outline: for each step along one axis, the exact position on the other is
// shared between the two pixels that straddle it, the outer one getting the fraction.
template <class Paint>
void AntialiasedCircle(const Canvas& canvas, const Clip& clip, double cx, double cy, double r, int w,
                       const Paint& paint)
{
  auto plot = [&](double px, double py, int weight) {
    const int ix = PixelOf(px), iy = PixelOf(py);
    if (weight && clip.Contains(ix, iy)) paint(canvas.At(ix, iy), weight);
  };
  // The eight mirror images of the offset (a, b), where b runs along the radius.
  auto plot8 = [&](double a, double b, int weight) {
    plot(cx + a, cy + b, weight);
    plot(cx - a, cy + b, weight);
    plot(cx + a, cy - b, weight);
    plot(cx - a, cy - b, weight);
    plot(cx + b, cy + a, weight);
    plot(cx - b, cy + a, weight);
    plot(cx + b, cy - a, weight);
    plot(cx - b, cy - a, weight);
  };
  for (double x = 0;; x += 1)
  {
    const double y = x == 0 ? r : std::sqrt(r * r - x * x);
    if (!(x < y + 1)) break;
    const double inner = std::floor(y);
    const double frac = y - inner;
    if (frac == 0)
    {
      plot8(x, y, w);
    }
    else
    {
      const int outer = static_cast<int>(frac * w);
      plot8(x, inner + 1, outer);
      plot8(x, inner, w - outer);
    }
  }
}

// The general circle (no masks) within `clip`, which lies inside the canvas.
void DrawCircleWalk(const Canvas& canvas, const Clip& clip, double cx, double cy, double r, PixelWord colour,
                    float alpha, int mode, bool antialias)
{
  const int w = strokes::StrokeWeight(alpha, mode);
  if (w == 0 || clip.left >= clip.right || clip.top >= clip.bottom) return;
  // Nothing to do when the circle's box misses the clip.
  if (cx + r + 1 < clip.left || cx - r - 1 >= clip.right || cy + r + 1 < clip.top || cy - r - 1 >= clip.bottom)
    return;
  if (antialias)
    strokes::WithWeightedWriter(mode, colour,
                                [&](const auto& paint) { AntialiasedCircle(canvas, clip, cx, cy, r, w, paint); });
  else
    strokes::WithPlainWriter(mode, w, colour,
                             [&](const auto& paint) { PlainCircle(canvas, clip, cx, cy, r, paint); });
}

bool UsableRadius(float r)
{
  return r >= 0 && r <= kMaxRadius;  // false for NaN too
}

// trunc(v) + add, limited to lo..hi.
int ClampTrunc(double v, int lo, int hi, int add = 0)
{
  const double t = std::trunc(v) + add;
  if (!(t > lo)) return lo;
  if (t >= hi) return hi;
  return static_cast<int>(t);
}

bool Finite(float v)
{
  return std::isfinite(v);
}
} // namespace

void DrawCoverageMask(LICE_IBitmap* dest, int x, int y, PixelWord colour, const unsigned char* mask,
                      int maskStride, int width, int height, float alpha, int mode)
{
  Canvas canvas;
  if (!strokes::CanvasOf(dest, canvas)) return;
  const int w = strokes::StrokeWeight(alpha, mode);
  if (w == 0) return;
  DrawMask(canvas, x, y, colour, mask, maskStride, width, height, w, mode);
}

void DrawCircleOutline(LICE_IBitmap* dest, float cx, float cy, float radius, PixelWord colour, float alpha,
                       int mode, bool antialias)
{
  Canvas canvas;
  if (!strokes::CanvasOf(dest, canvas) || !UsableRadius(radius) || !Finite(cx) || !Finite(cy)) return;

  for (int m = 0; m < 5; ++m)
  {
    if (radius != kMaskSpecs[m].radius) continue;
    const int w = strokes::StrokeWeight(alpha, mode);
    if (w == 0) return;
    const int side = kMaskSpecs[m].side;
    const double left = std::floor(double(cx) - radius), top = std::floor(double(cy) - radius);
    if (left < -side || top < -side || left > canvas.width || top > canvas.height) return;
    DrawMask(canvas, int(left), int(top), colour, antialias ? kMasks.antialiased[m] : kMasks.plain[m],
             side, side, side, w, mode);
    return;
  }
  const Clip all = {0, 0, canvas.width, canvas.height};
  DrawCircleWalk(canvas, all, cx, cy, radius, colour, alpha, mode, antialias);
}

void DrawArcOutline(LICE_IBitmap* dest, float cx, float cy, float radius, float startAngle, float endAngle,
                    PixelWord colour, float alpha, int mode, bool antialias)
{
  Canvas canvas;
  if (!strokes::CanvasOf(dest, canvas) || !UsableRadius(radius) || !Finite(cx) || !Finite(cy) ||
      !Finite(startAngle) || !Finite(endAngle))
    return;
  double start = startAngle, end = endAngle;
  const Clip all = {0, 0, canvas.width, canvas.height};
  if (end - start >= 2 * kPi)
  {
    DrawCircleWalk(canvas, all, cx, cy, radius, colour, alpha, mode, antialias);
    return;
  }
  if (end < start || std::fabs(start) > kMaxAngle || std::fabs(end) > kMaxAngle) return;

  // Bring the start into [0, 2 pi), then draw the range in pieces that each lie within
  // the right half [0, pi] or the left half [pi, 2 pi].
  const double turns = std::floor(start / (2 * kPi));
  start -= turns * 2 * kPi;
  end -= turns * 2 * kPi;
  const double r = radius;
  for (int piece = 0; piece < 4; ++piece)
  {
    if (start >= 2 * kPi)
    {
      start -= 2 * kPi;
      end -= 2 * kPi;
    }
    const bool rightHalf = start < kPi;
    const double pieceEnd = std::min(end, rightHalf ? kPi : 2 * kPi);
    // Rows from the piece's upper to its lower end; columns right or left of the centre.
    const double yStart = cy - r * std::cos(start), yEnd = cy - r * std::cos(pieceEnd);
    Clip clip;
    if (rightHalf)
    {
      clip = {ClampTrunc(cx, 0, canvas.width), ClampTrunc(yStart, 0, canvas.height), canvas.width,
              ClampTrunc(yEnd, 0, canvas.height, 1)};
    }
    else
    {
      clip = {0, ClampTrunc(yEnd, 0, canvas.height), ClampTrunc(cx, 0, canvas.width),
              ClampTrunc(yStart, 0, canvas.height, 1)};
    }
    DrawCircleWalk(canvas, clip, cx, cy, radius, colour, alpha, mode, antialias);
    if (pieceEnd >= end) return;
    start = pieceEnd;
  }
}
} // namespace LICE
