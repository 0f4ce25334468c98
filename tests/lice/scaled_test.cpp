// DrawImageScaled: the unscaled shortcut, mirroring, clipping, box-filtered reduction and
// bilinear and nearest sampling.
#include "combiners.h"
#include "test_bitmaps.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace
{
using namespace LICE;
using namespace lice_test;

constexpr PixelWord kBackground = 0x11223344;

// A one-row bitmap holding the given pixels.
struct Row : LICE_MemBitmap
{
  Row(std::initializer_list<PixelWord> pixels) : LICE_MemBitmap(int(pixels.size()), 1, 4)
  {
    int x = 0;
    for (PixelWord p : pixels) PixelData()[x++] = p;
  }
};

TEST(Scaled, EqualSizesBehaveLikeDrawImageAtTheRoundedPosition)
{
  LICE_MemBitmap src(10, 10, 4), a(8, 8, 4), b(8, 8, 4);
  FillPattern(src);
  for (int mode : {int(kOpCopy), kOpAdd | kSourceAlpha, kOpCopy | kFilterBilinear})
  {
    FillSolid(a, kBackground);
    FillSolid(b, kBackground);
    DrawImageScaled(&a, &src, -1, 2, 6, 4, 2.4f, 3.6f, 6.0f, 4.0005f, 0.75f, mode);
    DrawImage(&b, &src, -1, 2, 2, 4, 6, 4, 0.75f, mode);
    if (mode & kFilterBilinear)
      EXPECT_NE(Snapshot(a), Snapshot(b)) << "a fractional source position is interpolated";
    else
      EXPECT_EQ(Snapshot(a), Snapshot(b)) << mode;
  }
  // With the filter, positions within 0.03 of whole pixels still take the shortcut.
  FillSolid(a, kBackground);
  FillSolid(b, kBackground);
  DrawImageScaled(&a, &src, 0, 0, 6, 4, 2.02f, 2.99f, 6.0f, 4.0f, 1.0f, kOpCopy | kFilterBilinear);
  DrawImage(&b, &src, 0, 0, 2, 3, 6, 4, 1.0f, kOpCopy);
  EXPECT_EQ(Snapshot(a), Snapshot(b));
}

TEST(Scaled, NearestDoublesEachPixel)
{
  LICE_MemBitmap src(3, 2, 4), dest(6, 4, 4);
  FillPattern(src);
  DrawImageScaled(&dest, &src, 0, 0, 6, 4, 0, 0, 3, 2, 1.0f, kOpCopy);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(At(dest, x, y), PatternPixel(x / 2, y / 2));
}

TEST(Scaled, NegativeDestinationSizeMirrors)
{
  LICE_MemBitmap src(4, 3, 4), dest(4, 3, 4);
  FillPattern(src);
  DrawImageScaled(&dest, &src, 4, 0, -4, 3, 0, 0, 4, 3, 1.0f, kOpCopy);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(At(dest, x, y), PatternPixel(3 - x, y));
  DrawImageScaled(&dest, &src, 0, 3, 4, -3, 0, 0, 4, 3, 1.0f, kOpCopy);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(At(dest, x, y), PatternPixel(x, 2 - y));
  // Mirrored and doubled: 8 destination pixels from 4, in reverse pairs.
  LICE_MemBitmap wide(8, 1, 4);
  DrawImageScaled(&wide, &src, 8, 0, -8, 1, 0, 0, 4, 1, 1.0f, kOpCopy);
  for (int x = 0; x < 8; ++x) ASSERT_EQ(At(wide, x, 0), PatternPixel(3 - x / 2, 0)) << x;
}

TEST(Scaled, ClippedDestinationAdvancesTheSource)
{
  Row src{1, 2, 3, 4};
  LICE_MemBitmap dest(8, 1, 4);
  FillSolid(dest, kBackground);
  DrawImageScaled(&dest, &src, -2, 0, 8, 1, 0, 0, 4, 1, 1.0f, kOpCopy);
  const PixelWord want[8] = {2, 2, 3, 3, 4, 4, kBackground, kBackground};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(At(dest, x, 0), want[x]) << x;
}

TEST(Scaled, SourceStartLeftOfTheBitmapSkipsPixels)
{
  Row src{1, 2, 3, 4};
  LICE_MemBitmap dest(8, 1, 4);
  FillSolid(dest, kBackground);
  // Step 0.5 from -1: the first two samples lie left of the source; the area ends at 3.
  DrawImageScaled(&dest, &src, 0, 0, 8, 1, -1, 0, 4, 1, 1.0f, kOpCopy);
  const PixelWord want[8] = {kBackground, kBackground, 1, 1, 2, 2, 3, 3};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(At(dest, x, 0), want[x]) << x;
}

TEST(Scaled, AreaBeyondTheSourceStillDrawsItsLastColumn)
{
  // 15 source columns asked of a 10-column bitmap at step 0.5: samples 0 .. 9.5 are inside,
  // so 20 destination columns are drawn, the last one from source column 9.
  LICE_MemBitmap src(10, 1, 4), dest(30, 1, 4);
  FillPattern(src);
  for (int mode : {int(kOpCopy), kOpCopy | kFilterBilinear, int(kOpAdd)})
  {
    FillSolid(dest, 0);
    DrawImageScaled(&dest, &src, 0, 0, 30, 1, 0, 0, 15, 1, 1.0f, mode);
    EXPECT_NE(At(dest, 19, 0), 0u) << mode;
    EXPECT_EQ(At(dest, 20, 0), 0u) << mode;
    if (mode == kOpCopy)
    {
      for (int x = 0; x < 20; ++x) EXPECT_EQ(At(dest, x, 0), PatternPixel(x / 2, 0));
    }
  }
}

TEST(Scaled, BilinearInterpolatesAndTreatsTheLastRowAndColumnApart)
{
  LICE_MemBitmap src(2, 2, 4), dest(4, 4, 4);
  Set(src, 0, 0, Rgba(0, 0, 0, 0));
  Set(src, 1, 0, Rgba(255, 100, 10, 255));
  Set(src, 0, 1, Rgba(10, 20, 30, 40));
  Set(src, 1, 1, Rgba(101, 201, 3, 7));
  DrawImageScaled(&dest, &src, 0, 0, 4, 4, 0, 0, 2, 2, 1.0f, kOpCopy | kFilterBilinear);
  EXPECT_EQ(At(dest, 0, 0), Rgba(0, 0, 0, 0));
  EXPECT_EQ(At(dest, 1, 0), Rgba(127, 50, 5, 127));   // halfway, truncated
  EXPECT_EQ(At(dest, 0, 1), Rgba(5, 10, 15, 20));
  EXPECT_EQ(At(dest, 1, 1), Rgba(91, 80, 10, 75));    // four-point average
  EXPECT_EQ(At(dest, 2, 1), Rgba(178, 150, 6, 131));  // last column: vertical only
  EXPECT_EQ(At(dest, 3, 1), Rgba(178, 150, 6, 131));
  EXPECT_EQ(At(dest, 1, 3), Rgba(55, 110, 16, 23));   // last row: horizontal only
  EXPECT_EQ(At(dest, 3, 3), Rgba(101, 201, 3, 7));    // corner: the pixel itself
}

TEST(Scaled, BoxFilterAveragesFiveOrThreeSquares)
{
  // Red = 2x, green = 2y, blue = 50 * (x mod 5): a 5-wide box averages blue to 100 anywhere.
  LICE_MemBitmap src(100, 100, 4), quarter(25, 25, 4), half(50, 50, 4);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) Set(src, x, y, Rgba(2 * x, 2 * y, 50 * (x % 5), 255));

  DrawImageScaled(&quarter, &src, 0, 0, 25, 25, 0, 0, 100, 100, 1.0f, kOpCopy | kFilterBilinear);
  EXPECT_EQ(At(quarter, 0, 0), Rgba(2, 2, 50, 255));      // taps 0..2 only: (0+2+4)/3, (0+50+100)/3
  EXPECT_EQ(At(quarter, 5, 7), Rgba(40, 56, 100, 255));   // taps 18..22 x 26..30
  EXPECT_EQ(At(quarter, 24, 24), Rgba(192, 192, 100, 255));

  DrawImageScaled(&half, &src, 0, 0, 50, 50, 0, 0, 100, 100, 1.0f, kOpCopy | kFilterBilinear);
  EXPECT_EQ(At(half, 0, 0), Rgba(1, 1, 25, 255));         // taps 0..1
  EXPECT_EQ(At(half, 5, 4), Rgba(20, 16, 83, 255));      // taps 9..11: blue (200 + 0 + 50) / 3
  // Without the filter the reduction samples single pixels.
  DrawImageScaled(&half, &src, 0, 0, 50, 50, 0, 0, 100, 100, 1.0f, kOpCopy);
  EXPECT_EQ(At(half, 5, 4), Rgba(20, 16, 0, 255));
}

TEST(Scaled, NearestHalfWeightAveragesBytesBilinearUsesTheCombiner)
{
  Row src{0xFFFFFFFF};
  LICE_MemBitmap dest(2, 1, 4);
  FillSolid(dest, 0xFF000000);
  DrawImageScaled(&dest, &src, 0, 0, 2, 1, 0, 0, 1, 1, 0.5f, kOpCopy);
  EXPECT_EQ(At(dest, 0, 0), 0xFE7F7F7Fu);
  FillSolid(dest, 0xFF000000);
  DrawImageScaled(&dest, &src, 0, 0, 2, 1, 0, 0, 1, 1, 0.5f, kOpCopy | kFilterBilinear);
  EXPECT_EQ(At(dest, 0, 0), 0xFF808080u);
}

TEST(Scaled, OperationsAndSourceAlphaGoThroughTheCombiners)
{
  Row src{Rgba(128, 255, 0, 64), Rgba(128, 255, 0, 0)};
  LICE_MemBitmap dest(4, 1, 4);
  for (int op = kOpCopy; op <= kOpHsvAdjust; ++op)
    for (int flag : {0, int(kSourceAlpha)})
    {
      FillSolid(dest, Rgba(200, 100, 255, 128));
      DrawImageScaled(&dest, &src, 0, 0, 4, 1, 0, 0, 2, 1, 0.75f, op | flag);
      PixelWord want[2] = {Rgba(200, 100, 255, 128), Rgba(200, 100, 255, 128)};
      WithBlitCombiner(op | flag, 192, [&](auto c) {
        for (int i = 0; i < 2; ++i) BlendWord<decltype(c)>(want[i], src.PixelData()[i], 192);
      });
      for (int x = 0; x < 4; ++x) EXPECT_EQ(At(dest, x, 0), want[x / 2]) << op << " " << flag;
    }
}

TEST(Scaled, AbsurdArgumentsDrawNothingAndNeverOverflow)
{
  LICE_MemBitmap src(8, 8, 4), dest(8, 8, 4);
  FillPattern(src);
  FillSolid(dest, kBackground);
  const auto before = Snapshot(dest);
  const float nan = NAN;
  DrawImageScaled(&dest, &src, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0, 8, 8, 1.0f, kOpCopy);
  DrawImageScaled(&dest, &src, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0, 0, 8, 8, 1.0f, kOpCopy);
  DrawImageScaled(&dest, &src, INT_MIN, 0, INT_MAX, 8, 0, 0, 8, 8, 1.0f, kOpCopy | kFilterBilinear);
  DrawImageScaled(&dest, &src, 0, 0, 8, 8, 1e30f, 0, 8, 8, 1.0f, kOpCopy);
  DrawImageScaled(&dest, &src, 0, 0, 8, 8, -1e30f, -1e30f, 1e30f, 1e30f, 1.0f, kOpCopy | kFilterBilinear);
  DrawImageScaled(&dest, &src, 0, 0, 8, 8, nan, nan, nan, nan, 1.0f, kOpAdd);
  DrawImageScaled(&dest, &src, 0, 0, 0, 8, 0, 0, 8, 8, 1.0f, kOpCopy);
  DrawImageScaled(&dest, &src, 0, 0, 8, 8, 0, 0, 4, 4, 0.0f, kOpCopy);
  DrawImageScaled(&dest, &src, 0, 0, 8, 8, 0, 0, 4, 4, nan, kOpCopy);
  DrawImageScaled(&dest, &src, 0, 0, 8, 8, 0, 0, 4, 4, 1.0f, 6);
  DrawImageScaled(&dest, nullptr, 0, 0, 8, 8, 0, 0, 4, 4, 1.0f, kOpCopy);
  DrawImageScaled(nullptr, &src, 0, 0, 8, 8, 0, 0, 4, 4, 1.0f, kOpCopy);
  PixelLessBitmap noPixels;
  DrawImageScaled(&dest, &noPixels, 0, 0, 8, 8, 0, 0, 4, 4, 1.0f, kOpCopy);
  EXPECT_EQ(Snapshot(dest), before);
  // A huge or infinite source step still samples the first pixel only.
  DrawImageScaled(&dest, &src, 0, 0, 8, 8, 0, 0, 1e30f, INFINITY, 1.0f, kOpCopy);
  EXPECT_EQ(At(dest, 0, 0), PatternPixel(0, 0));
  EXPECT_EQ(At(dest, 1, 0), kBackground);
  EXPECT_EQ(At(dest, 0, 1), kBackground);
}

TEST(Scaled, BottomUpSource)
{
  BottomUpBitmap src(2, 2, 4);
  LICE_MemBitmap dest(4, 4, 4);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) Set(src, x, y, PatternPixel(x, y));
  DrawImageScaled(&dest, &src, 0, 0, 4, 4, 0, 0, 2, 2, 1.0f, kOpCopy);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(At(dest, x, y), PatternPixel(x / 2, y / 2));
}
} // namespace
