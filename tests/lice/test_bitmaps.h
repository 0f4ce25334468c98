#pragma once
// Helpers for the raster-library tests: small bitmaps with known contents.

#include "lice.h"

#include <cstdint>
#include <vector>

namespace lice_test
{
// A recognisable, position-dependent pixel so misplaced copies show up.
inline PixelWord PatternPixel(int x, int y)
{
  return LICE::Rgba(x * 16 + 1, y * 16 + 2, (x + y) * 8 + 3, 200 + (x ^ y) % 50);
}

inline void FillPattern(LICE_IBitmap& bm)
{
  for (int y = 0; y < bm.Height(); ++y)
    for (int x = 0; x < bm.Width(); ++x) bm.PixelData()[y * bm.RowStride() + x] = PatternPixel(x, y);
}

inline void FillSolid(LICE_IBitmap& bm, PixelWord p)
{
  for (int y = 0; y < bm.Height(); ++y)
    for (int x = 0; x < bm.Width(); ++x) bm.PixelData()[y * bm.RowStride() + x] = p;
}

// Pixel at image position (x, y), honouring a bottom-up layout.
inline PixelWord At(const LICE_IBitmap& bm, int x, int y)
{
  const int row = bm.IsBottomUp() ? bm.Height() - 1 - y : y;
  return bm.PixelData()[row * bm.RowStride() + x];
}

inline void Set(LICE_IBitmap& bm, int x, int y, PixelWord p)
{
  const int row = bm.IsBottomUp() ? bm.Height() - 1 - y : y;
  bm.PixelData()[row * bm.RowStride() + x] = p;
}

// A memory bitmap that stores its rows bottom-up, for the routines that must honour it.
class BottomUpBitmap : public LICE_MemBitmap
{
public:
  using LICE_MemBitmap::LICE_MemBitmap;
  bool IsBottomUp() const override { return true; }
};

// A bitmap that claims a size but has no pixels.
class PixelLessBitmap : public LICE_IBitmap
{
public:
  PixelWord* PixelData() const override { return nullptr; }
  int Width() const override { return 8; }
  int Height() const override { return 8; }
  int RowStride() const override { return 8; }
  bool SetSize(int, int) override { return false; }
};

// Every pixel, row by row, for whole-bitmap comparisons.
inline std::vector<PixelWord> Snapshot(const LICE_IBitmap& bm)
{
  std::vector<PixelWord> v;
  for (int y = 0; y < bm.Height(); ++y)
    for (int x = 0; x < bm.Width(); ++x) v.push_back(At(bm, x, y));
  return v;
}
} // namespace lice_test
