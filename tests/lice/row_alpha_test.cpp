// The vectorised copy through source alpha must match the per-pixel combiner exactly.
#include "combiners.h"
#include "test_bitmaps.h"

#include <gtest/gtest.h>

namespace
{
using namespace LICE;

// Source alphas whose whole rows are compared: the ends of the range and the values
// around its middle, where rounding turns, plus every 16th value in between (all 256
// took seconds under the sanitizers). In each row with mixed alphas every alpha still
// meets 256 pairs of values.
bool SampledAlpha(int a)
{
  return a <= 2 || a >= 253 || (a >= 126 && a <= 130) || a % 16 == 5;
}

// Every pair of destination and source values in red and green (and every destination
// alpha) at the sampled source alphas, once with one alpha per row and once with alphas
// mixed within each group of pixels the vector loop handles together.
TEST(CopySourceAlphaRow, MatchesTheCombinerForEveryChannelPair)
{
  constexpr int n = 65536 + 3; // a tail the vector loop leaves to the scalar one
  LICE_MemBitmap src(n, 1, 4), dest(n, 1, 4);
  for (int mixed = 0; mixed < 2; ++mixed)
    for (int a = 0; a < 256; ++a)
    {
      if (!SampledAlpha(a)) continue;
      PixelWord* s = src.PixelData();
      PixelWord* d = dest.PixelData();
      for (int j = 0; j < n; ++j)
      {
        const int alpha = mixed ? (a + j * 37) & 255 : a;
        s[j] = Rgba(j & 255, (j >> 8) & 255, (j * 7) & 255, alpha);
        d[j] = Rgba((j >> 8) & 255, j & 255, (j * 11) & 255, (j * 5) & 255);
      }
      DrawImage(&dest, &src, 0, 0, nullptr, 1.0f, kOpCopy | kSourceAlpha);
      for (int j = 0; j < n; ++j)
      {
        const int alpha = mixed ? (a + j * 37) & 255 : a;
        PixelWord want = Rgba((j >> 8) & 255, j & 255, (j * 11) & 255, (j * 5) & 255);
        BlendWord<CopySourceAlphaFullCombiner>(want, Rgba(j & 255, (j >> 8) & 255, (j * 7) & 255, alpha), 256);
        ASSERT_EQ(d[j], want) << "alpha " << alpha << " pixel " << j;
      }
    }
}

TEST(CopySourceAlphaRow, UnalignedRowsAndShortWidths)
{
  LICE_MemBitmap src(9, 2, 4), dest(11, 2, 4), want(11, 2, 4);
  for (int w = 1; w <= 9; ++w)
    for (int x = 0; x < 2; ++x)
    {
      for (int i = 0; i < 9; ++i)
      {
        src.PixelData()[i] = Rgba(i * 30, 200 - i * 20, 7, i == 2 ? 0 : i * 31);
        src.PixelData()[src.RowStride() + i] = Rgba(5, i, 250, 255);
      }
      lice_test::FillSolid(dest, Rgba(1, 2, 3, 4));
      lice_test::FillSolid(want, Rgba(1, 2, 3, 4));
      DrawImage(&dest, &src, x, 0, 0, 0, w, 2, 1.0f, kOpCopy | kSourceAlpha);
      for (int y = 0; y < 2; ++y)
        for (int i = 0; i < w; ++i)
          BlendWord<CopySourceAlphaFullCombiner>(want.PixelData()[y * want.RowStride() + x + i],
                                                 src.PixelData()[y * src.RowStride() + i], 256);
      EXPECT_EQ(lice_test::Snapshot(dest), lice_test::Snapshot(want)) << w << " at " << x;
    }
}
} // namespace
