// Line segments: outcode clipping, then a dedicated loop for horizontal, vertical and
// diagonal segments and a two-ended stepping loop for every other slope.

#include "lines.h"
#include "line_painters.h"
#include "muldiv.h"

#include <cstdint>
#include <cstdlib>

namespace LICE
{
namespace
{
using strokes::Canvas;

int OutCode(std::int64_t x, std::int64_t y, int width, int height)
{
  int code = 0;
  if (x < 0) code |= 1;
  else if (x >= width) code |= 2;
  if (y < 0) code |= 4;
  else if (y >= height) code |= 8;
  return code;
}

// Moves the endpoints onto the bitmap's edges (Cohen-Sutherland). False when the segment
// misses the bitmap. Products are kept exact in 128 bits, so any int coordinates are safe.
bool ClipSegment(std::int64_t& x1, std::int64_t& y1, std::int64_t& x2, std::int64_t& y2, int width, int height)
{
  int c1 = OutCode(x1, y1, width, height), c2 = OutCode(x2, y2, width, height);
  // Every move puts an endpoint on an edge; a handful of moves always settle a segment,
  // the bound only guards against a rounding cycle.
  for (int moves = 0; c1 | c2; ++moves)
  {
    if ((c1 & c2) || moves > 16) return false;
    const bool moveFirst = c1 != 0;
    const int code = moveFirst ? c1 : c2;
    const std::int64_t dx = x2 - x1, dy = y2 - y1;
    std::int64_t x, y;
    if (code & 8)
    {
      x = x1 + MulDivTrunc(dx, height - y1, dy);
      y = height - 1;
    }
    else if (code & 4)
    {
      x = x1 - MulDivTrunc(dx, y1, dy);
      y = 0;
    }
    else if (code & 2)
    {
      y = y1 + MulDivTrunc(dy, width - x1, dx);
      x = width - 1;
    }
    else
    {
      y = y1 - MulDivTrunc(dy, x1, dx);
      x = 0;
    }
    if (moveFirst)
    {
      x1 = x, y1 = y;
      c1 = OutCode(x1, y1, width, height);
    }
    else
    {
      x2 = x, y2 = y;
      c2 = OutCode(x2, y2, width, height);
    }
  }
  return true;
}

// Pixels from p, `count` of them, `step` words apart.
template <class Paint>
void Run(PixelWord* p, std::ptrdiff_t step, int count, const Paint& paint)
{
  for (int i = 0; i < count; ++i, p += step) paint(*p);
}

// 45-degree segment, antialiased: each pixel but the last at 3/4 weight with its two
// neighbours towards the next pixel at 1/4; the last pixel at 3/4.
template <class Centre, class Side>
void DiagonalAntialiased(PixelWord* p, std::ptrdiff_t stepX, std::ptrdiff_t stepY, int n,
                         const Centre& centre, const Side& side)
{
  for (int i = 0; i < n; ++i, p += stepX + stepY)
  {
    centre(*p);
    side(p[stepX]);
    side(p[stepY]);
  }
  centre(*p);
}

// Every other slope, drawn from both ends towards the middle so the segment is exactly
// symmetric. `major` steps along the longer axis, `minor` along the other; slope is
// minor extent / major extent in 16.16.
template <class Paint>
void GeneralPlain(PixelWord* start, PixelWord* end, std::ptrdiff_t major, std::ptrdiff_t minor,
                  int n, std::int32_t slope, const Paint& paint)
{
  std::int32_t error = 0;
  for (int i = 0, steps = (n + 1) / 2; i < steps; ++i)
  {
    paint(*start);
    paint(*end);
    start += major;
    end -= major;
    error += slope;
    if (error > 0x7FFF)
    {
      start += minor;
      end -= minor;
      error -= 0x10000;
    }
  }
  if (n % 2 == 0) paint(*start);
}

// Antialiased: the ends at full weight, then each pixel shares its weight with the next
// one along the minor axis by the line's fractional position there.
template <class Paint>
void GeneralAntialiased(PixelWord* start, PixelWord* end, std::ptrdiff_t major, std::ptrdiff_t minor,
                        int n, std::int32_t slope, int w, const Paint& paint)
{
  paint(*start, w);
  paint(*end, w);
  std::int32_t coverage = slope;
  auto pair = [&](PixelWord* p, std::ptrdiff_t further) {
    const int part = coverage >> 8;
    const int near = w == 256 ? 255 - part : (255 - part) * w / 256;
    const int far = w == 256 ? part : part * w / 256;
    if (near) paint(*p, near);
    if (far) paint(p[further], far);
  };
  start += major;
  end -= major;
  for (int i = 0, steps = (n + 1) / 2 - 1; i < steps; ++i)
  {
    pair(start, minor);
    pair(end, -minor);
    start += major;
    end -= major;
    coverage += slope;
    if (coverage > 0xFFFF)
    {
      start += minor;
      end -= minor;
      coverage -= 0x10000;
    }
  }
  if (n % 2 == 0) pair(start, minor);
}
} // namespace

void DrawLineSegment(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, PixelWord colour,
                     float alpha, int mode, bool antialias)
{
  Canvas canvas;
  if (!strokes::CanvasOf(dest, canvas)) return;
  const int w = strokes::StrokeWeight(alpha, mode);
  if (w == 0) return;

  std::int64_t ax = x1, ay = y1, bx = x2, by = y2;
  if (!ClipSegment(ax, ay, bx, by, canvas.width, canvas.height)) return;
  x1 = int(ax), y1 = int(ay), x2 = int(bx), y2 = int(by);

  const int dx = x2 - x1, dy = y2 - y1;
  const int adx = std::abs(dx), ady = std::abs(dy);
  const std::ptrdiff_t stepX = dx < 0 ? -1 : 1;
  const std::ptrdiff_t stepY = dy < 0 ? -canvas.stride : canvas.stride;
  PixelWord* start = &canvas.At(x1, y1);

  if (dy == 0 || dx == 0)
  {
    PixelWord* first = &canvas.At(dx < 0 ? x2 : x1, dy < 0 ? y2 : y1);
    const std::ptrdiff_t step = dy == 0 ? 1 : canvas.stride;
    strokes::WithSegmentWriter(mode, alpha, w, colour,
                               [&](const auto& paint) { Run(first, step, (dy == 0 ? adx : ady) + 1, paint); });
    return;
  }

  if (adx == ady)
  {
    if (!antialias)
    {
      strokes::WithSegmentWriter(mode, alpha, w, colour,
                                 [&](const auto& paint) { Run(start, stepX + stepY, adx + 1, paint); });
    }
    else if ((mode & kOpMask) == kOpCopy && alpha == 1.0f)
    {
      DiagonalAntialiased(start, stepX, stepY, adx, strokes::Quarter75Writer{colour},
                          strokes::Quarter25Writer{colour});
    }
    else
    {
      strokes::WithWeightedWriter(mode, colour, [&](const auto& paint) {
        const int centre = w * 3 / 4, side = w / 4;
        DiagonalAntialiased(
            start, stepX, stepY, adx, [&](PixelWord& p) { if (centre) paint(p, centre); },
            [&](PixelWord& p) { if (side) paint(p, side); });
      });
    }
    return;
  }

  const bool xMajor = adx > ady;
  const int n = xMajor ? adx : ady;
  const std::int32_t slope = static_cast<std::int32_t>((std::int64_t(xMajor ? ady : adx) << 16) / n);
  const std::ptrdiff_t major = xMajor ? stepX : stepY;
  const std::ptrdiff_t minor = xMajor ? stepY : stepX;
  PixelWord* end = &canvas.At(x2, y2);
  if (!antialias)
  {
    strokes::WithPlainWriter(mode, w, colour,
                             [&](const auto& paint) { GeneralPlain(start, end, major, minor, n, slope, paint); });
  }
  else
  {
    strokes::WithWeightedWriter(mode, colour, [&](const auto& paint) {
      GeneralAntialiased(start, end, major, minor, n, slope, w, paint);
    });
  }
}
} // namespace LICE
