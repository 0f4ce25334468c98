#include "PictureDetail.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "lice.h"

namespace picture_detail
{
namespace
{
// Squared steps between neighbouring pixels: all of them, and apart those between two
// pixels of one 2 x 2 block and those across the blocks' borders.
struct Steps
{
  double all = 0, withinBlocks = 0, acrossBlocks = 0;
};

Steps Measure(const Region& r)
{
  Steps steps;
  auto add = [&](const std::array<int, 4>& a, const std::array<int, 4>& b, bool within) {
    double e = 0;
    for (int c = 0; c < 4; ++c) e += double(a[c] - b[c]) * (a[c] - b[c]);
    steps.all += e;
    (within ? steps.withinBlocks : steps.acrossBlocks) += e;
  };
  for (int y = 0; y < r.height; ++y)
    for (int x = 0; x < r.width; ++x)
    {
      if (x + 1 < r.width) add(r.At(x, y), r.At(x + 1, y), x % 2 == 0);
      if (y + 1 < r.height) add(r.At(x, y), r.At(x, y + 1), y % 2 == 0);
    }
  return steps;
}

} // namespace

Region Crop(const LICE_IBitmap* bitmap, int x0, int y0, int width, int height)
{
  Region region{width, height, {}};
  for (int y = y0; y < y0 + height; ++y)
    for (int x = x0; x < x0 + width; ++x)
    {
      const PixelWord p = LICE::FetchPixel(bitmap, x, y);
      region.pixels.push_back({LICE::Red(p), LICE::Green(p), LICE::Blue(p), LICE::Alpha(p)});
    }
  return region;
}

Region Shrink(const Region& r)
{
  Region out{r.width / 2, r.height / 2, {}};
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
    {
      std::array<int, 4> p{};
      for (int c = 0; c < 4; ++c)
        p[c] = (r.At(2 * x, 2 * y)[c] + r.At(2 * x + 1, 2 * y)[c] + r.At(2 * x, 2 * y + 1)[c] +
                r.At(2 * x + 1, 2 * y + 1)[c] + 2) / 4;
      out.pixels.push_back(p);
    }
  return out;
}

Region Enlarge(const Region& r, bool bilinear)
{
  Region out{r.width * 2, r.height * 2, {}};
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
    {
      if (!bilinear)
      {
        out.pixels.push_back(r.At(x / 2, y / 2));
        continue;
      }
      // Device pixel centres fall a quarter of a 1x pixel off the 1x centres.
      const double fx = std::clamp((x + 0.5) / 2 - 0.5, 0.0, r.width - 1.0);
      const double fy = std::clamp((y + 0.5) / 2 - 0.5, 0.0, r.height - 1.0);
      const int x0 = int(fx), y0 = int(fy), x1 = std::min(x0 + 1, r.width - 1), y1 = std::min(y0 + 1, r.height - 1);
      const double tx = fx - x0, ty = fy - y0;
      std::array<int, 4> p{};
      for (int c = 0; c < 4; ++c)
        p[c] = int(std::lround((r.At(x0, y0)[c] * (1 - tx) + r.At(x1, y0)[c] * tx) * (1 - ty) +
                               (r.At(x0, y1)[c] * (1 - tx) + r.At(x1, y1)[c] * tx) * ty));
      out.pixels.push_back(p);
    }
  return out;
}

double MeanDifference(const Region& a, const Region& b)
{
  double sum = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int c = 0; c < 4; ++c) sum += std::abs(a.pixels[i][c] - b.pixels[i][c]);
  return sum / (4.0 * a.pixels.size());
}

bool DrawnAt2x(const Region& twoX, const Region& oneX, std::string* why)
{
  const Steps fine = Measure(twoX), coarse = Measure(oneX);
  *why = "steps at 2x / 1x " + std::to_string(fine.all / coarse.all) + ", inside / across blocks " +
         std::to_string(fine.withinBlocks / fine.acrossBlocks);
  return fine.all > 1.5 * coarse.all && fine.withinBlocks > 0.2 * fine.acrossBlocks;
}

} // namespace picture_detail
