#include "resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "blit_internal.h"

namespace LICE
{
namespace
{
// The source pixels one destination pixel along an axis is made of, and their weights.
struct Taps
{
  std::vector<int> first;      // per destination pixel: index of its first tap
  std::vector<int> count;      // per destination pixel: how many taps
  std::vector<int> source;     // per tap: the source pixel (0 .. sourceSize - 1)
  std::vector<float> weight;   // per tap; the weights of a destination pixel sum to 1
};

Taps TapsFor(int sourceSize, int destSize)
{
  Taps taps;
  taps.first.resize(size_t(destSize));
  taps.count.resize(size_t(destSize));
  const double ratio = double(sourceSize) / destSize;
  for (int i = 0; i < destSize; ++i)
  {
    taps.first[size_t(i)] = int(taps.source.size());
    if (destSize >= sourceSize)
    {
      // Growing: linear between the two nearest source pixel centres.
      const double centre = (i + 0.5) * ratio - 0.5;
      const int left = int(std::floor(centre));
      const float f = float(centre - left);
      taps.source.push_back(std::clamp(left, 0, sourceSize - 1));
      taps.weight.push_back(1.0f - f);
      taps.source.push_back(std::clamp(left + 1, 0, sourceSize - 1));
      taps.weight.push_back(f);
    }
    else
    {
      // Shrinking: every source pixel the destination pixel covers, by the part covered.
      const double from = i * ratio, to = (i + 1) * ratio;
      for (int j = int(std::floor(from)); j < int(std::ceil(to)) && j < sourceSize; ++j)
      {
        const double covered = std::min(to, double(j + 1)) - std::max(from, double(j));
        if (covered <= 0.0) continue;
        taps.source.push_back(j);
        taps.weight.push_back(float(covered / ratio));
      }
    }
    taps.count[size_t(i)] = int(taps.source.size()) - taps.first[size_t(i)];
  }
  return taps;
}

struct Premultiplied
{
  float a, r, g, b;
};

Premultiplied Premultiply(PixelWord p)
{
  const float a = float(Alpha(p)) / 255.0f;
  return {float(Alpha(p)), Red(p) * a, Green(p) * a, Blue(p) * a};
}

int Channel(float v) { return int(std::clamp(v + 0.5f, 0.0f, 255.0f)); }

PixelWord Straight(const Premultiplied& p)
{
  if (p.a < 0.5f) return 0;
  const float unmultiply = 255.0f / p.a;
  return Rgba(Channel(p.r * unmultiply), Channel(p.g * unmultiply), Channel(p.b * unmultiply), Channel(p.a));
}
} // namespace

void ResampleImage(LICE_IBitmap* dest, int x, int y, int width, int height, const LICE_IBitmap* src,
                   const Rect& srcRect)
{
  if (!dest || !src || !detail::HasPixels(dest) || !detail::HasPixels(src) || width <= 0 || height <= 0) return;
  const Rect from{std::max(srcRect.left, 0), std::max(srcRect.top, 0), std::min(srcRect.right, src->Width()),
                  std::min(srcRect.bottom, src->Height())};
  const int sourceWidth = from.right - from.left, sourceHeight = from.bottom - from.top;
  if (sourceWidth <= 0 || sourceHeight <= 0) return;

  const Taps across = TapsFor(sourceWidth, width), down = TapsFor(sourceHeight, height);
  const detail::Rows sourceRows = detail::RowsOf(src), destRows = detail::RowsOf(dest);

  // Across first, into rows of the destination's width and the source's height.
  std::vector<Premultiplied> rows(size_t(width) * size_t(sourceHeight));
  std::vector<Premultiplied> line(static_cast<size_t>(sourceWidth));
  for (int sy = 0; sy < sourceHeight; ++sy)
  {
    const PixelWord* in = sourceRows.Row(from.top + sy) + from.left;
    for (int sx = 0; sx < sourceWidth; ++sx) line[size_t(sx)] = Premultiply(in[sx]);
    Premultiplied* out = &rows[size_t(sy) * size_t(width)];
    for (int dx = 0; dx < width; ++dx)
    {
      Premultiplied sum{0, 0, 0, 0};
      for (int t = across.first[size_t(dx)], end = t + across.count[size_t(dx)]; t < end; ++t)
      {
        const Premultiplied& p = line[size_t(across.source[size_t(t)])];
        const float w = across.weight[size_t(t)];
        sum.a += p.a * w, sum.r += p.r * w, sum.g += p.g * w, sum.b += p.b * w;
      }
      out[dx] = sum;
    }
  }
  // Then down, straight into the destination where it lies inside it.
  for (int dy = 0; dy < height; ++dy)
  {
    const int ty = y + dy;
    if (ty < 0 || ty >= dest->Height()) continue;
    PixelWord* out = destRows.Row(ty);
    for (int dx = 0; dx < width; ++dx)
    {
      const int tx = x + dx;
      if (tx < 0 || tx >= dest->Width()) continue;
      Premultiplied sum{0, 0, 0, 0};
      for (int t = down.first[size_t(dy)], end = t + down.count[size_t(dy)]; t < end; ++t)
      {
        const Premultiplied& p = rows[size_t(down.source[size_t(t)]) * size_t(width) + size_t(dx)];
        const float w = down.weight[size_t(t)];
        sum.a += p.a * w, sum.r += p.r * w, sum.g += p.g * w, sum.b += p.b * w;
      }
      out[tx] = Straight(sum);
    }
  }
}
} // namespace LICE
