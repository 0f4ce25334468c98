// DrawImageRotated: geometry, clipping to the source area and the destination, sampling.
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
const float kQuarterTurn = float(M_PI / 2);

TEST(Rotated, ZeroAngleReproducesDrawImage)
{
  LICE_MemBitmap src(10, 10, 4), a(8, 8, 4), b(8, 8, 4);
  FillPattern(src);
  for (int mode : {int(kOpCopy), kOpCopy | kSourceAlpha, int(kOpMultiply), kOpOverlay | kSourceAlpha})
    for (float alpha : {1.0f, 0.6f})
    {
      FillSolid(a, kBackground);
      FillSolid(b, kBackground);
      DrawImageRotated(&a, &src, -2, 3, 7, 6, 2, 1, 7, 6, 0.0f, false, alpha, mode);
      DrawImage(&b, &src, -2, 3, 2, 1, 7, 6, alpha, mode);
      EXPECT_EQ(Snapshot(a), Snapshot(b)) << mode << " " << alpha;
    }
}

TEST(Rotated, QuarterTurn)
{
  // A quarter turn clockwise. The centre offsets put the samples on pixel centres, so the
  // truncated 16.16 steps (sin and cos of a float angle are not exactly 1 and 0) cannot
  // move a sample across a pixel edge: destination (i, j) samples source (j, 2 - i).
  LICE_MemBitmap src(3, 3, 4), dest(3, 3, 4);
  FillPattern(src);
  FillSolid(dest, kBackground);
  DrawImageRotated(&dest, &src, 0, 0, 3, 3, 0, 0, 3, 3, kQuarterTurn, false, 1.0f, kOpCopy, 0.5f, -0.5f);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) EXPECT_EQ(At(dest, i, j), PatternPixel(j, 2 - i)) << i << "," << j;
}

TEST(Rotated, ClipToSourceRectangle)
{
  LICE_MemBitmap src(6, 6, 4), dest(2, 2, 4);
  FillPattern(src);
  // The centre offset moves the samples one column right: the second destination column
  // then samples column 4, outside the area [2, 4) but inside the bitmap.
  FillSolid(dest, kBackground);
  DrawImageRotated(&dest, &src, 0, 0, 2, 2, 2, 2, 2, 2, 0.0f, true, 1.0f, kOpCopy, 1.0f, 0.0f);
  EXPECT_EQ(At(dest, 0, 0), PatternPixel(3, 2));
  EXPECT_EQ(At(dest, 1, 0), kBackground);
  EXPECT_EQ(At(dest, 0, 1), PatternPixel(3, 3));
  EXPECT_EQ(At(dest, 1, 1), kBackground);

  FillSolid(dest, kBackground);
  DrawImageRotated(&dest, &src, 0, 0, 2, 2, 2, 2, 2, 2, 0.0f, false, 1.0f, kOpCopy, 1.0f, 0.0f);
  EXPECT_EQ(At(dest, 1, 0), PatternPixel(4, 2));
  EXPECT_EQ(At(dest, 1, 1), PatternPixel(4, 3));
}

TEST(Rotated, BilinearInterpolatesWithinTheBounds)
{
  LICE_MemBitmap src(3, 1, 4), dest(3, 1, 4);
  Set(src, 0, 0, Rgba(0, 0, 0, 0));
  Set(src, 1, 0, Rgba(100, 200, 50, 255));
  Set(src, 2, 0, Rgba(201, 0, 51, 1));
  FillSolid(dest, kBackground);
  DrawImageRotated(&dest, &src, 0, 0, 3, 1, 0, 0, 3, 1, 0.0f, false, 1.0f, kOpCopy | kFilterBilinear, 0.5f, 0.0f);
  EXPECT_EQ(At(dest, 0, 0), Rgba(50, 100, 25, 127));
  EXPECT_EQ(At(dest, 1, 0), Rgba(150, 100, 50, 128));
  EXPECT_EQ(At(dest, 2, 0), Rgba(201, 0, 51, 1)); // last column: the pixel itself in one row
  // Clipped to [0, 2) the second pixel is the last column of the area: no reach into x = 2.
  FillSolid(dest, kBackground);
  DrawImageRotated(&dest, &src, 0, 0, 2, 1, 0, 0, 2, 1, 0.0f, true, 1.0f, kOpCopy | kFilterBilinear, 0.25f, 0.0f);
  EXPECT_EQ(At(dest, 1, 0), Rgba(100, 200, 50, 255));
  EXPECT_EQ(At(dest, 2, 0), kBackground);
}

// Draws into a large bitmap and into one whose origin cuts the rectangle, and compares.
void CompareClippedDraw(float angle, int tolerance)
{
  LICE_MemBitmap src(8, 8, 4), big(20, 20, 4), part(20, 20, 4);
  FillPattern(src);
  FillSolid(big, kBackground);
  FillSolid(part, kBackground);
  DrawImageRotated(&big, &src, 0, 0, 16, 16, 0, 0, 8, 8, angle, false, 1.0f, kOpCopy | kFilterBilinear);
  DrawImageRotated(&part, &src, -3, -2, 16, 16, 0, 0, 8, 8, angle, false, 1.0f, kOpCopy | kFilterBilinear);
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 13; ++x)
    {
      const PixelWord a = At(part, x, y), b = At(big, x + 3, y + 2);
      for (int shift = 0; shift < 32; shift += 8)
        ASSERT_NEAR(int((a >> shift) & 0xFF), int((b >> shift) & 0xFF), tolerance) << x << "," << y;
    }
}

TEST(Rotated, DestinationClippingAdvancesTheStart)
{
  CompareClippedDraw(0.0f, 0); // steps of exactly 0.5: identical
  CompareClippedDraw(0.4f, 1); // the start moves in floating point, the steps in 16.16
}

TEST(Rotated, EveryOperationAndNothingForUnknownOnes)
{
  LICE_MemBitmap src(2, 1, 4), dest(2, 1, 4);
  src.PixelData()[0] = Rgba(128, 255, 0, 64);
  src.PixelData()[1] = Rgba(128, 255, 0, 0);
  for (int op = kOpCopy; op <= kOpHsvAdjust; ++op)
    for (int flag : {0, int(kSourceAlpha)})
    {
      FillSolid(dest, Rgba(200, 100, 255, 128));
      DrawImageRotated(&dest, &src, 0, 0, 2, 1, 0, 0, 2, 1, 0.0f, false, 0.75f, op | flag);
      PixelWord want[2] = {Rgba(200, 100, 255, 128), Rgba(200, 100, 255, 128)};
      WithBlitCombiner(op | flag, 192, [&](auto c) {
        for (int i = 0; i < 2; ++i) BlendWord<decltype(c)>(want[i], src.PixelData()[i], 192);
      });
      EXPECT_EQ(dest.PixelData()[0], want[0]) << op << " " << flag;
      EXPECT_EQ(dest.PixelData()[1], want[1]) << op << " " << flag;
    }
  FillSolid(dest, kBackground);
  DrawImageRotated(&dest, &src, 0, 0, 2, 1, 0, 0, 2, 1, 0.0f, false, 1.0f, 6);
  DrawImageRotated(&dest, &src, 0, 0, 2, 1, 0, 0, 2, 1, 0.0f, false, 1.0f, kOpChannelCopy);
  DrawImageRotated(&dest, &src, 0, 0, 2, 1, 0, 0, 2, 1, 0.0f, false, 0.003f, kOpAdd);
  DrawImageRotated(&dest, &src, 0, 0, 2, 1, 0, 0, 2, 1, 0.0f, false, -1.0f, kOpCopy);
  EXPECT_EQ(dest.PixelData()[0], kBackground);
  EXPECT_EQ(dest.PixelData()[1], kBackground);
}

TEST(Rotated, AbsurdArgumentsNeverOverflow)
{
  LICE_MemBitmap src(8, 8, 4), dest(8, 8, 4);
  FillPattern(src);
  FillSolid(dest, kBackground);
  const auto before = Snapshot(dest);
  DrawImageRotated(&dest, &src, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0, 8, 8, 1.0f, false, 1.0f, kOpCopy);
  DrawImageRotated(&dest, &src, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0, 0, 8, 8, 1.0f, true, 1.0f, kOpCopy | kFilterBilinear);
  DrawImageRotated(&dest, &src, 0, 0, 8, 8, 1e30f, 1e30f, 8, 8, 1.0f, true, 1.0f, kOpCopy);
  DrawImageRotated(&dest, &src, 0, 0, 8, 8, NAN, NAN, NAN, NAN, NAN, true, 1.0f, kOpCopy);
  DrawImageRotated(&dest, &src, 0, 0, 0, 8, 0, 0, 8, 8, 1.0f, false, 1.0f, kOpCopy);
  DrawImageRotated(nullptr, &src, 0, 0, 8, 8, 0, 0, 8, 8, 1.0f, false, 1.0f, kOpCopy);
  DrawImageRotated(&dest, nullptr, 0, 0, 8, 8, 0, 0, 8, 8, 1.0f, false, 1.0f, kOpCopy);
  PixelLessBitmap noPixels;
  DrawImageRotated(&dest, &noPixels, 0, 0, 8, 8, 0, 0, 8, 8, 1.0f, false, 1.0f, kOpCopy);
  EXPECT_EQ(Snapshot(dest), before);
  // Enormous scales and offsets run (sampling whatever lands inside) without overflow.
  DrawImageRotated(&dest, &src, -5, -5, 20, 20, -1e30f, 0, 1e30f, 1e-30f, 1e30f, false, 1.0f, kOpAdd | kFilterBilinear, 1e30f, -1e30f);
  DrawImageRotated(&dest, &src, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 8, 8, INFINITY, false, 1.0f, kOpCopy);
}
} // namespace
