// Scaled drawing: 16.16 stepping through the source, with nearest, bilinear or (for strong
// reductions) box-filtered sampling.
#include "blit_internal.h"

#include <algorithm>
#include <cmath>

namespace LICE
{
using detail::Rows;
using detail::RowsOf;

namespace
{
// Destination area and the 16.16 source positions that feed it.
struct ScaledArea
{
  std::int64_t destX, destY, width, height;
  std::int64_t startX, startY, stepX, stepY; // 16.16
  std::int64_t right, bottom;                // samples must lie in [0, right) x [0, bottom)
};

// Calls fn(destPixel, sampleX, sampleY, fracX, fracY) for each destination pixel whose
// sample lies inside the source bounds.
template <class Fn>
void ForEachSample(const Rows& d, const ScaledArea& a, Fn&& fn)
{
  std::int64_t sy = a.startY;
  for (std::int64_t j = 0; j < a.height; ++j, sy += a.stepY)
  {
    if (sy < 0) continue;
    const std::int64_t y = sy >> 16;
    if (y >= a.bottom) continue;
    const std::uint32_t fy = std::uint32_t(sy & 0xFFFF);
    PixelWord* dp = d.Row(a.destY + j) + a.destX;
    std::int64_t sx = a.startX;
    for (std::int64_t i = 0; i < a.width; ++i, sx += a.stepX)
    {
      if (sx < 0) continue;
      const std::int64_t x = sx >> 16;
      if (x >= a.right) continue;
      fn(dp[i], x, y, std::uint32_t(sx & 0xFFFF), fy);
    }
  }
}

// Average of the (2r + 1)^2 pixels around (x, y) that lie inside [0, right) x [0, bottom).
// Sums run two channels per word (at most 25 x 255 per 16-bit lane).
template <class C>
void BlendBoxAverage(PixelWord& dest, const Rows& s, std::int64_t x, std::int64_t y, int r,
                     std::int64_t right, std::int64_t bottom, int w)
{
  const std::int64_t x0 = std::max<std::int64_t>(x - r, 0), x1 = std::min(x + r + 1, right);
  const std::int64_t y0 = std::max<std::int64_t>(y - r, 0), y1 = std::min(y + r + 1, bottom);
  std::uint32_t rb = 0, ag = 0;
  for (std::int64_t ty = y0; ty < y1; ++ty)
  {
    const PixelWord* row = s.Row(ty);
    for (std::int64_t tx = x0; tx < x1; ++tx)
    {
      rb += row[tx] & 0x00FF00FFu;
      ag += (row[tx] >> 8) & 0x00FF00FFu;
    }
  }
  const int count = int((x1 - x0) * (y1 - y0));
  if (count <= 0) return;
  const int sr = int(rb >> 16), sb = int(rb & 0xFFFF), sa = int(ag >> 16), sg = int(ag & 0xFFFF);
  // Full squares divide by a constant, which compiles to a multiplication.
  if (count == 25) C::Blend(dest, sr / 25, sg / 25, sb / 25, sa / 25, w);
  else if (count == 9) C::Blend(dest, sr / 9, sg / 9, sb / 9, sa / 9, w);
  else C::Blend(dest, sr / count, sg / count, sb / count, sa / count, w);
}

// Clips the source steps against the source bitmap: skips leading samples left of (above)
// the source and drops trailing ones at or beyond its right (bottom) edge.
void ClipSourceAxis(std::int64_t& start, std::int64_t step, std::int64_t& destPos,
                    std::int64_t& length, std::int64_t srcSize)
{
  if (step <= 0) return;
  if (start < 0)
  {
    const std::int64_t n = (step - start - 1) / step;
    start += n * step;
    destPos += n;
    length -= n;
  }
  if (length < 1) return;
  const std::int64_t end = srcSize * 65536; // first position past the source
  if (start >= end)
  {
    length = 0;
    return;
  }
  // Samples i with start + i * step < end all lie inside the source, the last one included.
  const std::int64_t inside = (end - 1 - start) / step + 1;
  if (inside < length) length = inside;
}
} // namespace

void DrawImageScaled(LICE_IBitmap* dest, const LICE_IBitmap* src, int x, int y, int width,
                     int height, float srcX, float srcY, float srcW, float srcH, float alpha,
                     int mode)
{
  if (!dest || !src || width == 0 || height == 0 || alpha == 0.0f) return;
  const bool bilinear = ((mode & kFilterMask) >> 8) == 1;

  // Unscaled: a plain blit at the rounded source position (with the filter, only when the
  // source position is that close to whole pixels that interpolation would not show).
  if (std::fabs(double(srcW) - width) < 0.001 && std::fabs(double(srcH) - height) < 0.001)
  {
    auto nearWhole = [](double v) { return std::fabs(v - std::floor(v + 0.5)) < 0.03; };
    if (!bilinear || (nearWhole(srcX) && nearWhole(srcY)))
    {
      DrawImage(dest, src, x, y, detail::TruncToInt(double(srcX) + 0.5),
                detail::TruncToInt(double(srcY) + 0.5), width, height, alpha, mode);
      return;
    }
  }

  // A negative destination size mirrors: start at the far edge of the source and step back.
  std::int64_t dx = x, dy = y, dw = width, dh = height;
  double sx = srcX, sy = srcY, sw = srcW, sh = srcH;
  if (dw < 0)
  {
    dx += dw;
    dw = -dw;
    sx += sw;
    sw = -sw;
  }
  if (dh < 0)
  {
    dy += dh;
    dh = -dh;
    sy += sh;
    sh = -sh;
  }
  // The source area's far edges bound the samples (before clipping moves the start).
  const double srcRight = std::ceil(sx + std::max(sw, 0.0));
  const double srcBottom = std::ceil(sy + std::max(sh, 0.0));

  const double stepX = sw / double(dw), stepY = sh / double(dh);
  // Mirrored, the first destination pixel takes the last source pixel rather than the far
  // edge (which lies outside the area), so the result is the exact mirror image.
  if (width < 0) sx += stepX;
  if (height < 0) sy += stepY;
  if (dx < 0)
  {
    sx += stepX * double(-dx);
    dw += dx;
    dx = 0;
  }
  if (dy < 0)
  {
    sy += stepY * double(-dy);
    dh += dy;
    dy = 0;
  }
  dw = std::min<std::int64_t>(dw, dest->Width() - dx);
  dh = std::min<std::int64_t>(dh, dest->Height() - dy);
  if (dw < 1 || dh < 1) return;

  ScaledArea a;
  a.stepX = detail::FixedStep(stepX);
  a.stepY = detail::FixedStep(stepY);
  a.startX = detail::FixedPosition(sx);
  a.startY = detail::FixedPosition(sy);
  a.destX = dx, a.destY = dy, a.width = dw, a.height = dh;
  ClipSourceAxis(a.startX, a.stepX, a.destX, a.width, src->Width());
  ClipSourceAxis(a.startY, a.stepY, a.destY, a.height, src->Height());
  if (a.width < 1 || a.height < 1) return;

  if (!dest->PixelData() || !src->PixelData()) return;
  a.right = std::min<std::int64_t>(detail::TruncSaturated(srcRight, 0x7FFFFFFF), src->Width());
  a.bottom = std::min<std::int64_t>(detail::TruncSaturated(srcBottom, 0x7FFFFFFF), src->Height());
  if (a.right < 1 || a.bottom < 1) return;

  const int w = WeightFromAlpha(alpha);
  if (w == 0) return;
  const Rows d = RowsOf(dest), s = RowsOf(src);
  const int op = mode & kOpMask;

  if (op == kOpCopy && !bilinear && !(mode & kSourceAlpha) && (w == 128 || w == 256))
  {
    if (w == 256)
      ForEachSample(d, a, [&](PixelWord& p, std::int64_t sxi, std::int64_t syi, std::uint32_t, std::uint32_t) {
        p = s.Row(syi)[sxi];
      });
    else
      ForEachSample(d, a, [&](PixelWord& p, std::int64_t sxi, std::int64_t syi, std::uint32_t, std::uint32_t) {
        p = Average50(s.Row(syi)[sxi], p);
      });
    return;
  }

  if (bilinear && stepX >= 1.7 && stepY >= 1.7)
  {
    const int r = std::max(a.stepX, a.stepY) <= 0x30000 ? 1 : 2;
    WithBlitCombiner(mode, w, [&](auto combiner) {
      using C = decltype(combiner);
      ForEachSample(d, a, [&](PixelWord& p, std::int64_t sxi, std::int64_t syi, std::uint32_t, std::uint32_t) {
        BlendBoxAverage<C>(p, s, sxi, syi, r, a.right, a.bottom, w);
      });
    });
    return;
  }

  WithBlitCombiner(mode, w, [&](auto combiner) {
    using C = decltype(combiner);
    if (bilinear)
      ForEachSample(d, a, [&](PixelWord& p, std::int64_t sxi, std::int64_t syi, std::uint32_t fx, std::uint32_t fy) {
        BlendWord<C>(p, detail::SampleBilinear(s, sxi, syi, fx, fy, a.right, a.bottom), w);
      });
    else
      ForEachSample(d, a, [&](PixelWord& p, std::int64_t sxi, std::int64_t syi, std::uint32_t, std::uint32_t) {
        BlendWord<C>(p, s.Row(syi)[sxi], w);
      });
  });
}
} // namespace LICE
