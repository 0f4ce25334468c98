#pragma once
// Helpers shared by the blit, scale and rotate routines (not part of the public interface).

#include "combiners.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace LICE
{
namespace detail
{
// Row addressing of a bitmap through its stride; bottom-up bitmaps start at the last
// memory row and step backwards.
struct Rows
{
  PixelWord* first = nullptr;
  std::ptrdiff_t step = 0;
  PixelWord* Row(std::int64_t y) const { return first + static_cast<std::ptrdiff_t>(y) * step; }
};

inline Rows RowsOf(const LICE_IBitmap* bitmap)
{
  Rows rows;
  PixelWord* pixels = bitmap->PixelData();
  const std::ptrdiff_t stride = bitmap->RowStride();
  if (!pixels) return rows;
  if (bitmap->IsBottomUp())
  {
    rows.first = pixels + static_cast<std::ptrdiff_t>(bitmap->Height() - 1) * stride;
    rows.step = -stride;
  }
  else
  {
    rows.first = pixels;
    rows.step = stride;
  }
  return rows;
}

// A bitmap that has pixels and a positive size.
inline bool HasPixels(const LICE_IBitmap* bitmap)
{
  return bitmap->PixelData() && bitmap->Width() > 0 && bitmap->Height() > 0;
}

// Converts a floating-point value toward zero, saturating at +-limit (NaN gives 0), so
// absurd coordinates can never overflow the integer arithmetic that follows.
inline std::int64_t TruncSaturated(double v, std::int64_t limit)
{
  if (!(v == v)) return 0;
  if (v >= double(limit)) return limit;
  if (v <= -double(limit)) return -limit;
  return static_cast<std::int64_t>(v);
}

inline int TruncToInt(double v) { return static_cast<int>(TruncSaturated(v, 0x7FFFFFFF)); }

// 16.16 fixed point. Positions stay within 2^48 and steps within 2^32 (65536 source pixels
// per destination pixel), so position + step x (any bitmap width) fits 64 bits.
constexpr std::int64_t kMaxFixedPosition = std::int64_t(1) << 48;
constexpr std::int64_t kMaxFixedStep = std::int64_t(1) << 32;
inline std::int64_t FixedPosition(double v) { return TruncSaturated(v * 65536.0, kMaxFixedPosition); }
inline std::int64_t FixedStep(double v) { return TruncSaturated(v * 65536.0, kMaxFixedStep); }

// A pixel spread over two 64-bit words, two channels each in 32-bit lanes (blue and red,
// green and alpha), so one multiplication weights two channels: weight x channel sums of
// up to 65536 x 255 fit a lane.
struct Spread
{
  std::uint64_t br, ga;
};

inline Spread SpreadPixel(PixelWord p)
{
  return {(p & 0xFFu) | (std::uint64_t(p & 0xFF0000u) << 16),
          ((p >> 8) & 0xFFu) | (std::uint64_t(p & 0xFF000000u) << 8)};
}

// Packs lanes that hold weighted sums in 1/65536 units back into a pixel.
inline PixelWord PackWeighted(std::uint64_t br, std::uint64_t ga)
{
  return PixelWord((br >> 16) & 0xFF) | (PixelWord((ga >> 16) & 0xFF) << 8) |
         (PixelWord((br >> 48) & 0xFF) << 16) | (PixelWord((ga >> 48) & 0xFF) << 24);
}

// (f * second + (65536 - f) * first) / 65536 per channel.
inline PixelWord Lerp2(PixelWord first, PixelWord second, std::uint32_t f)
{
  const Spread a = SpreadPixel(first), b = SpreadPixel(second);
  const std::uint64_t g = 65536 - f;
  return PackWeighted(b.br * f + a.br * g, b.ga * f + a.ga * g);
}

// Bilinear sample at integer position (x, y) with fractions (fx, fy) in 1/65536, within the
// bounds [left, right) x [top, bottom), which (x, y) lies in. The last column interpolates
// vertically only, the last row horizontally only, the corner takes the pixel itself.
inline PixelWord SampleBilinear(const Rows& src, std::int64_t x, std::int64_t y, std::uint32_t fx,
                                std::uint32_t fy, std::int64_t right, std::int64_t bottom)
{
  const PixelWord* row = src.Row(y) + x;
  const bool hasRight = x + 1 < right;
  const bool hasBelow = y + 1 < bottom;
  if (hasRight && hasBelow)
  {
    const PixelWord* below = src.Row(y + 1) + x;
    const std::uint64_t c = (fx * fy) >> 16;
    const std::uint64_t wtr = fx - c, wbl = fy - c, wtl = 65536 - fx - fy + c;
    const Spread p00 = SpreadPixel(row[0]), p10 = SpreadPixel(row[1]);
    const Spread p01 = SpreadPixel(below[0]), p11 = SpreadPixel(below[1]);
    return PackWeighted(p00.br * wtl + p10.br * wtr + p01.br * wbl + p11.br * c,
                        p00.ga * wtl + p10.ga * wtr + p01.ga * wbl + p11.ga * c);
  }
  if (hasBelow) return Lerp2(row[0], src.Row(y + 1)[x], fy);
  if (hasRight) return Lerp2(row[0], row[1], fx);
  return row[0];
}
} // namespace detail
} // namespace LICE
