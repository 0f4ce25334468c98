// Rotated drawing: each destination pixel walks the source in 16.16 fixed point along the
// rotated and scaled axes.
#include "blit_internal.h"

#include <algorithm>
#include <cmath>

namespace LICE
{
using detail::Rows;
using detail::RowsOf;

namespace
{
struct RotatedArea
{
  std::int64_t destX, destY, width, height;
  std::int64_t u0, v0;           // 16.16 source position of the first destination pixel
  std::int64_t colDu, colDv;     // per destination column
  std::int64_t rowDu, rowDv;     // per destination row
  std::int64_t left, top, right, bottom; // source bounds
};

// Integer part of a 16.16 position, truncating toward zero, and the fraction toward the
// next pixel (a position just left of or above the first pixel samples that pixel).
inline std::int64_t WholePart(std::int64_t v) { return v / 65536; }
inline std::uint32_t Fraction(std::int64_t v) { return v >= 0 ? std::uint32_t(v & 0xFFFF) : 0u; }

template <class Fn>
void ForEachRotatedSample(const Rows& d, const RotatedArea& a, Fn&& fn)
{
  std::int64_t ru = a.u0, rv = a.v0;
  for (std::int64_t j = 0; j < a.height; ++j, ru += a.rowDu, rv += a.rowDv)
  {
    PixelWord* dp = d.Row(a.destY + j) + a.destX;
    std::int64_t u = ru, v = rv;
    for (std::int64_t i = 0; i < a.width; ++i, u += a.colDu, v += a.colDv)
    {
      const std::int64_t x = WholePart(u), y = WholePart(v);
      if (x < a.left || x >= a.right || y < a.top || y >= a.bottom) continue;
      fn(dp[i], x, y, Fraction(u), Fraction(v));
    }
  }
}
} // namespace

void DrawImageRotated(LICE_IBitmap* dest, const LICE_IBitmap* src, int x, int y, int width,
                      int height, float srcX, float srcY, float srcW, float srcH, float angle,
                      bool clipToSourceRect, float alpha, int mode, float centreOffsetX,
                      float centreOffsetY)
{
  if (!dest || !src || width == 0 || height == 0) return;

  RotatedArea a;
  if (clipToSourceRect)
  {
    const double sx = srcX, sy = srcY;
    a.left = std::max<std::int64_t>(detail::TruncSaturated(sx, 0x7FFFFFFF), 0);
    a.top = std::max<std::int64_t>(detail::TruncSaturated(sy, 0x7FFFFFFF), 0);
    a.right = std::min<std::int64_t>(detail::TruncSaturated(sx + srcW, 0x7FFFFFFF), src->Width());
    a.bottom = std::min<std::int64_t>(detail::TruncSaturated(sy + srcH, 0x7FFFFFFF), src->Height());
  }
  else
  {
    a.left = 0, a.top = 0, a.right = src->Width(), a.bottom = src->Height();
  }

  // A negative destination size mirrors along that axis.
  const double absW = std::fabs(double(width)), absH = std::fabs(double(height));
  const double signW = width < 0 ? -1.0 : 1.0, signH = height < 0 ? -1.0 : 1.0;
  const double xScale = signW * srcW / absW, yScale = signH * srcH / absH;
  const double c = std::cos(double(angle)), s = std::sin(double(angle));
  double colDu = xScale * c, colDv = -yScale * s;
  double rowDu = xScale * s, rowDv = yScale * c;

  // Start so that the destination centre lands on the source centre plus the offset.
  double u0 = (width < 0 ? double(srcX) + srcW : double(srcX)) -
              ((absH * xScale * s + absW * xScale * c - signW * srcW) / 2.0 - centreOffsetX);
  double v0 = (height < 0 ? double(srcY) + srcH : double(srcY)) -
              ((absW * (-yScale * s) + absH * yScale * c - signH * srcH) / 2.0 - centreOffsetY);

  std::int64_t dx = x, dy = y, dw = std::int64_t(absW), dh = std::int64_t(absH);
  if (dx < 0)
  {
    u0 += colDu * double(-dx);
    v0 += colDv * double(-dx);
    dw += dx;
    dx = 0;
  }
  if (dy < 0)
  {
    u0 += rowDu * double(-dy);
    v0 += rowDv * double(-dy);
    dh += dy;
    dy = 0;
  }
  dw = std::min<std::int64_t>(dw, dest->Width() - dx);
  dh = std::min<std::int64_t>(dh, dest->Height() - dy);
  if (dw < 1 || dh < 1) return;
  if (!dest->PixelData() || !src->PixelData()) return;

  const int w = WeightFromAlpha(alpha);
  if (w == 0) return;
  a.destX = dx, a.destY = dy, a.width = dw, a.height = dh;
  a.u0 = detail::FixedPosition(u0), a.v0 = detail::FixedPosition(v0);
  a.colDu = detail::FixedStep(colDu), a.colDv = detail::FixedStep(colDv);
  a.rowDu = detail::FixedStep(rowDu), a.rowDv = detail::FixedStep(rowDv);

  const Rows d = RowsOf(dest), sr = RowsOf(src);
  const bool bilinear = ((mode & kFilterMask) >> 8) == 1;
  WithBlitCombiner(mode, w, [&](auto combiner) {
    using C = decltype(combiner);
    if (bilinear)
      ForEachRotatedSample(d, a, [&](PixelWord& p, std::int64_t sx, std::int64_t sy, std::uint32_t fx, std::uint32_t fy) {
        BlendWord<C>(p, detail::SampleBilinear(sr, sx, sy, fx, fy, a.right, a.bottom), w);
      });
    else
      ForEachRotatedSample(d, a, [&](PixelWord& p, std::int64_t sx, std::int64_t sy, std::uint32_t, std::uint32_t) {
        BlendWord<C>(p, sr.Row(sy)[sx], w);
      });
  });
}
} // namespace LICE
